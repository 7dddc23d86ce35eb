#pragma once

// Drive letters on a POSIX host, laid out as Wine lays them out: drive x is the folder that
// $WINEPREFIX/dosdevices/x: links to, drive c falls back to $WINEPREFIX/drive_c, and WINEPREFIX
// defaults to ~/.wine.

#include <string>

#include "platform/platform.h"

namespace platform::posix {

// The host folder of drive `letter` (either case). ENODEV when the letter is no drive or the drive
// is not mapped; the folder itself may be missing (a dangling link).
[[nodiscard]] Error DriveRoot(char letter, std::string& root);

// The Wine prefix in use: $WINEPREFIX, else ~/.wine. False when neither can be formed; `configured`
// tells whether WINEPREFIX named it.
bool WinePrefix(std::string& prefix, bool& configured);

}  // namespace platform::posix
