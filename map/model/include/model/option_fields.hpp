#pragma once

// The texts of the options panel's five fields. They are part of the map's state: the host's
// property setters write into them and the window object's validations read them, as the
// operator's typing does. The window's text fields show them.

#include <QString>

namespace orbelle::model {

enum class OptionField { LatHere, LonHere, UTCOffset, MaxDxMi, MaxDxKm };

struct OptionFields {
  QString txtLatHere;
  QString txtLonHere;
  QString txtUTCOffset;
  QString txtMaxDxMi;
  QString txtMaxDxKm;

  QString& operator[](OptionField field) {
    switch (field) {
      case OptionField::LatHere:
        return txtLatHere;
      case OptionField::LonHere:
        return txtLonHere;
      case OptionField::UTCOffset:
        return txtUTCOffset;
      case OptionField::MaxDxMi:
        return txtMaxDxMi;
      case OptionField::MaxDxKm:
        break;
    }
    return txtMaxDxKm;
  }
  const QString& operator[](OptionField field) const {
    return (*const_cast<OptionFields*>(this))[field];
  }
};

}  // namespace orbelle::model
