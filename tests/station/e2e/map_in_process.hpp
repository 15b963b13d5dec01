#pragma once

// The map on the test's private session bus, in the test's own process: a loaded model and map
// window in a temporary working folder with small outline files, served as Orbelle.server by the
// map's own automation code. A host (the station, in another process or in this one) drives it over
// the bus; the test looks at the window and presses on it.

#include <gtest/gtest.h>

#include <QPoint>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "model/map_model.hpp"
#include "server/automation.hpp"
#include "shell/form1.hpp"
#include "shell/help_viewer.hpp"
#include "shell/save_dialog.hpp"

class QWidget;

namespace orbelle::station::test {

class MapInProcess : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  QString path(const QString& name) const { return dir.filePath(name); }

  // A new map window and its bus objects (SetUp opens one), and their end: the map leaves the
  // bus, as when its program ends.
  void openMap();
  void closeMap();

  // The map image's width (= height) in pixels.
  int imageSide() const;
  // Mouse events at pixel (px, py) of the map image, as the operator makes them.
  void pointerAt(int px, int py);
  void pressAt(int px, int py, Qt::MouseButton button = Qt::LeftButton);
  // The heading the pointer readout shows for pixel (px, py).
  int readoutHeading(int px, int py);
  // The spots the map shows, slot by slot: "CALL (by SPOTTER)" from each hover text.
  std::vector<std::string> shownSpots() const;
  // The visible spot or spotter marker whose hover text is `text`, or null.
  QWidget* marker(const QString& text) const;
  void press(QWidget* widget);

  // The (so) value the window's Callback holds; empty service when it holds none.
  struct CallbackTarget {
    QString service;
    QString path;
  };
  CallbackTarget callbackTarget() const;

  QTemporaryDir dir;
  QString oldCwd;
  std::unique_ptr<model::MessageBoxes> messages;
  std::unique_ptr<shell::SaveDialog> saveDialog;
  std::unique_ptr<shell::HelpViewer> help;
  std::unique_ptr<model::MapModel> model;
  std::unique_ptr<shell::Form1> form;
  std::unique_ptr<server::Automation> automation;
  bool ended = false;
};

}  // namespace orbelle::station::test
