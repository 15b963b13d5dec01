// The spots over the map: the window hands the spot overlay its station, scale, show options and
// host calls, and forwards the spot operations to it.

#include "form1_parts.hpp"
#include "map_layers.hpp"
#include "shell/surface_widget.hpp"
#include "spots/qt/spot_layer.hpp"

namespace orbelle::shell {

void Form1::AddSpot(double LatDeg, double LonDeg, std::int32_t Color, double SpotFreq,
                    const QString& Mode, const QString& SpotCall, const QString& SpotTime,
                    const QString& SpotBy, const QString& SpotComment, const QString& SpotLoc,
                    double SpotByLat, double SpotByLon, double SpotByColor,
                    const QString& SpotByLoc, double SpotFreqTX) {
  spots_->AddSpot(LatDeg, LonDeg, Color, SpotFreq, Mode, SpotCall, SpotTime, SpotBy, SpotComment,
                  SpotLoc, SpotByLat, SpotByLon, SpotByColor, SpotByLoc, SpotFreqTX);
}

void Form1::ClearSpots() { spots_->ClearSpots(); }

void Form1::DrawSpots() { spots_->DrawSpots(); }

void Form1::testspot() { spots_->testspot(); }

// The spots are placed in the surface's scale of the last SetMapScale, which is the map's
// radius then; MaxDx may have been changed since without the map being drawn again.
const geo::MapPlane& Form1::SpotAdapter::plane() const {
  plane_ = form_.state_.plane;
  const double radius = -form_.layers_->mapLayer().scaleLeft();
  if (radius >= 1.0 && radius <= 32767.0) plane_.MaxDx = static_cast<std::int16_t>(radius);
  return plane_;
}

spots::ShowOptions Form1::SpotAdapter::showOptions() const {
  return {form_.state_.ShowSpots, form_.state_.ShowSpotBy, form_.state_.ShowConnectingLines};
}

std::int16_t Form1::SpotAdapter::MaxSpots() const { return form_.state_.MaxSpots; }

bool Form1::SpotAdapter::Drawing() const { return form_.Drawing(); }

QPoint Form1::SpotAdapter::imageOrigin() const { return form_.c_.Picture1->imageRect().topLeft(); }

bool Form1::SpotAdapter::orbellesetrotor(double heading) {
  const std::shared_ptr<HostCallback> callback = form_.callbackObject_;
  if (!callback) return false;
  callback->orbellesetrotor(heading);
  return true;
}

bool Form1::SpotAdapter::orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) {
  const std::shared_ptr<HostCallback> callback = form_.callbackObject_;
  if (!callback) return false;
  callback->orbellesetrig(SpotFreq, SpotFreqTX, Mode);
  return true;
}

}  // namespace orbelle::shell
