#pragma once

#include <QAbstractSocket>
#include <string>

// Why a connection failed or ended, in the words the station's messages use. A connection the
// station gave up itself (a time-out) has no socket error of its own: its caller names it.

namespace orbelle::station {

std::string socketFault(const QAbstractSocket& socket);

// "5 s", "0.4 s": a delay for messages.
std::string secondsText(int ms);

}  // namespace orbelle::station
