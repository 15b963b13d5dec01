#include "dialog_driver.hpp"

#include <QAbstractButton>
#include <QMessageBox>

namespace velalib::testing {

void answerMessageBox(const char *button, QString *text) {
  whenShown<QMessageBox>([button, text](QMessageBox &box) {
    if (text) *text = box.text();
    for (QAbstractButton *b : box.buttons()) {
      if (b->text().remove(u'&').compare(QLatin1String(button), Qt::CaseInsensitive) == 0) {
        b->click();
        return;
      }
    }
    ADD_FAILURE() << "message box has no button " << button;
    box.reject();
  });
}

}  // namespace velalib::testing
