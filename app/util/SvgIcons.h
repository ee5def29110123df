// The window's icons: small SVG drawings in the program's resources.
#pragma once

#include <QIcon>

namespace tavrin {

// The icon drawn by ":/icons/<name>.svg", rendered for the usual button sizes.
QIcon SvgIcon(const char* name);

}  // namespace tavrin
