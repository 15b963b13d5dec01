#include "shell/host_notice.hpp"

#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace orbelle::shell {
namespace {

// Distance of the note from the window's lower left corner, pixels.
constexpr int kMarginPx = 6;

}  // namespace

HostNotice::HostNotice(QWidget* window)
    : window_(window), label_(new QLabel(window)), timer_(new QTimer(label_)) {
  label_->setAttribute(Qt::WA_TransparentForMouseEvents);
  label_->setAutoFillBackground(true);
  label_->setStyleSheet(QStringLiteral(
      "QLabel { background: #fff3b0; color: black; border: 1px solid #a08000; padding: 2px; }"));
  label_->hide();
  timer_->setSingleShot(true);
  timer_->setInterval(kShowMs);
  QObject::connect(timer_, &QTimer::timeout, label_, &QLabel::hide);
}

void HostNotice::show(const QString& text) {
  label_->setText(text);
  label_->adjustSize();
  label_->move(kMarginPx, window_->height() - label_->height() - kMarginPx);
  label_->raise();
  label_->show();
  timer_->start();
}

bool HostNotice::showing() const { return label_->isVisibleTo(window_); }

QString HostNotice::text() const { return label_->text(); }

}  // namespace orbelle::shell
