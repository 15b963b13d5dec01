#include "caption_button.hpp"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <cmath>

namespace orbelle::shell {
namespace {

constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
constexpr int kPadding = 3;  // pixels between the bevel and the caption

}  // namespace

WrappingButton::WrappingButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
}

QRect WrappingButton::textArea(const QRect& buttonRect) const {
  QStyleOptionButton option;
  initStyleOption(&option);
  option.rect = buttonRect;
  const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  return contents.adjusted(kPadding, 0, -kPadding, 0);
}

int WrappingButton::heightForWidth(int width) const {
  const QRect area = textArea(QRect(0, 0, width, 1000));
  const QRect text = fontMetrics().boundingRect(QRect(0, 0, std::max(area.width(), 1), 1000),
                                                kTextFlags, this->text());
  const int bevel = 1000 - area.height();
  return text.height() + bevel + 2 * kPadding;
}

QSize WrappingButton::sizeHint() const {
  const QSize single = QPushButton::sizeHint();
  const int width = this->width() > 0 ? this->width() : single.width();
  return {single.width(), std::max(single.height(), heightForWidth(width))};
}

QSize WrappingButton::minimumSizeHint() const { return {1, heightForWidth(std::max(width(), 1))}; }

void WrappingButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  QRect area = textArea(rect());
  if (isDown() || isChecked()) {
    area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                   style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
  }
  int flags = kTextFlags;
  if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this)) {
    flags |= Qt::TextHideMnemonic;
  }
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(area, flags, caption);
}

QIcon stopRotorIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  // A regular octagon with flat top and bottom edges.
  QPainterPath octagon;
  const double c = size / 2.0;
  const double r = size / 2.0 - 0.5;
  for (int i = 0; i < 8; ++i) {
    const double angle = (22.5 + 45.0 * i) * 3.14159265358979 / 180.0;
    const QPointF p(c + r * std::cos(angle), c + r * std::sin(angle));
    if (i == 0) {
      octagon.moveTo(p);
    } else {
      octagon.lineTo(p);
    }
  }
  octagon.closeSubpath();
  painter.setPen(QPen(Qt::white, 1.0));
  painter.setBrush(QColor(200, 0, 0));
  painter.drawPath(octagon);
  // A white bar across the middle.
  const double bar = std::max(1.0, size / 6.0);
  painter.fillRect(QRectF(size * 0.22, c - bar / 2.0, size * 0.56, bar), Qt::white);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace orbelle::shell
