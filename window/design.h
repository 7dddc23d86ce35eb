#pragma once

// The window as designed: caption, size, and each control's text and place. Places are in twips
// (15 twips to the pixel) within the client area.

namespace window::design {

inline constexpr int kTwipsPerPixel = 15;

struct Place {
  int left;
  int top;
  int width;
  int height;
};

inline constexpr char kCaption[] = "Converting Quake WAD to HL WAD";
inline constexpr int kClientWidth = 9240;
inline constexpr int kClientHeight = 7665;

inline constexpr Place kList1Place{2820, 6000, 2295, 645};
inline constexpr char kCommand1[] = "&Done";
inline constexpr Place kCommand1Place{7260, 7200, 1755, 315};
inline constexpr char kText3[] = "-1";
inline constexpr Place kText3Place{8400, 120, 615, 375};
inline constexpr char kText2[] = "c:\\wads";
inline constexpr Place kText2Place{1140, 120, 3375, 375};
inline constexpr Place kFileZ1Place{180, 5880, 1695, 3600};
inline constexpr char kText1[] = "Beginning Conversion ...\r\n";
inline constexpr Place kText1Place{180, 600, 8835, 6495};
inline constexpr char kLabel2[] = "ERRORS IN CONVERSION!!!  SEE ABOVE LOG!";
inline constexpr Place kLabel2Place{180, 7260, 4395, 315};
inline constexpr double kLabel2PointSize = 8.25;
inline constexpr char kLabel2Font[] = "MS Sans Serif";
inline constexpr char kLabel1Directory[] = "Directory";
inline constexpr Place kLabel1DirectoryPlace{180, 120, 855, 315};
inline constexpr char kLabel1Count[] = "# to Convert";
inline constexpr Place kLabel1CountPlace{7140, 120, 1155, 315};

// The pattern of a file list that nobody has set.
inline constexpr char kFileZ1Pattern[] = "*.*";

}  // namespace window::design
