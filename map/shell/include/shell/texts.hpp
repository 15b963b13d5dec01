#pragma once

// The texts the map window shows, each in one place: captions ("&" marks the keyboard
// accelerator), tool tips, messages and the help request.

namespace orbelle::shell::text {

// Window title: the program's name.
inline constexpr const char* kProgramName = "orbelle";

// Controls column.
inline constexpr const char* kOptionsCaption = "&Options";
inline constexpr const char* kHelpCaption = "&Help";
inline constexpr const char* kSavePictureCaption = "&Save picture";
inline constexpr const char* kSavePictureTip = "Save map as an image file";
inline constexpr const char* kCancelDrawCaption = "&Cancel Draw";
inline constexpr const char* kCancelDrawTip = "Click while map is being drawn to cancel";
inline constexpr const char* kClearSpotsCaption = "C&lear spots";
inline constexpr const char* kStopRotorTip = "Stop rotor";

// Pointer readout.
inline constexpr const char* kDirectionLabel = "Direction";
inline constexpr const char* kDirectionTip = "Direction";
inline constexpr const char* kDxLabel = "DX";
inline constexpr const char* kDxMilesTip = "DX in Miles";
inline constexpr const char* kDxKmTip = "DX in Kilometers";
inline constexpr const char* kDegreesUnit = "\u00b0";
inline constexpr const char* kMilesUnit = " mi";
inline constexpr const char* kKmUnit = " km";
inline constexpr const char* kLocatorLabel = "Locator";
inline constexpr const char* kLocatorTip = "Maidenhead locator under the pointer";
inline constexpr const char* kStationLabel = "Station";
inline constexpr const char* kStationLocatorTip = "Maidenhead locator of the map center";

// Options panel.
inline constexpr const char* kOkCaption = "Ok";
inline constexpr const char* kDrawCaption = "&Draw";
inline constexpr const char* kWholeEarthCaption = "Whole Earth";
inline constexpr const char* kMapCenterLabel = "Map Center";
inline constexpr const char* kLatLabel = "Lat";
inline constexpr const char* kLonLabel = "Lon";
inline constexpr const char* kUtcOffsetLabel = "UTC Offset";
inline constexpr const char* kMapRadiusLabel = "Map Radius";
inline constexpr const char* kMilesLabel = "mi";
inline constexpr const char* kKmLabel = "km";
inline constexpr const char* kLatTip = "Latitude for map center";
inline constexpr const char* kLonTip = "Longitude for map center";
inline constexpr const char* kUtcOffsetTip =
    "Number of hours to add to system clock to get UTC.  Negative numbers subtract";
inline constexpr const char* kMaxDxMiTip = "Maximum DX displayed from center of map in Mi";
inline constexpr const char* kMaxDxKmTip = "Maximum DX displayed from center of map in Km";
inline constexpr const char* kAlwaysOnTopCaption = "Always on Top";
inline constexpr const char* kDrawRiversCaption = "Draw rivers";
inline constexpr const char* kShowSunCaption = "Show sun and gray line";
inline constexpr const char* kShadeNightCaption = "Shade night";
inline constexpr const char* kShowSpotsCaption = "Show spots";
inline constexpr const char* kShowSpotByCaption = "Show Spot-by";
inline constexpr const char* kShowCallsCaption = "Show calls";
inline constexpr const char* kConnectingLinesCaption = "Draw connecting lines";
inline constexpr const char* kConnectingLinesTip = "Draw lines between spot and spot-by";

// Over the map surface while a first map is drawn.
inline constexpr const char* kDrawingMapNote = "Drawing the map\u2026";

// Messages.
inline constexpr const char* kNotANumber = "You must enter a number here";
inline constexpr const char* kClearSpotsQuestion = "Clear spots?";
inline constexpr const char* kSavePictureTitle = "Save Picture";
inline constexpr const char* kOnlyBmp = "Can only save BMP format pictures.  Please try again";
inline constexpr const char* kNothingToSave =
    "There is no map picture to save yet.  Draw the map first.";

// Save dialog.
inline constexpr const char* kBitmapFilter = "Bitmap (*.bmp)|*.bmp";
inline constexpr const char* kBitmapExtension = "bmp";

// Help: what the window tells about the file it opened or could not open.
inline constexpr const char* kNoHelpViewer = "No help viewer could be started.";
inline constexpr const char* kHelpFileNamed = "Help file: %1";
inline constexpr const char* kHelpOpened = "Help opened: %1";

// Help: the host's help file and the jump-to-topic macro for the map's topic.
inline constexpr const char* kHelpFile = "QUILL5.HLP";
inline constexpr const char* kHelpMacro = "ji(\"\", \"MAP\")";

}  // namespace orbelle::shell::text
