#pragma once
// Glyphs drawn from SVG drawings in the program's resources.

#include <QIcon>
#include <QString>

// The drawing at a resource path (":/player/spkfull.svg") rendered once at the usual button
// sizes, so a button sizes itself as its neighbours do. An empty icon when there is none.
QIcon SvgResourceIcon(const QString& path);

// The speaker glyphs of the volume button, by resource name: "spkmute", "spkhalf", "spkfull".
QIcon SpeakerGlyph(const QString& name);
