// Where the help page is found and what the about box tells.
#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

// Where the help page may be, best first: beside the program (a build), then in the shared
// data folder of an installation (share/tavrin-converter/help).
QStringList HelpFileCandidates(const QString& executableFolder);
// The first candidate that exists, else the first candidate.
QString FindHelpFile(const QString& executableFolder);

// Rich text: program name and version, the codec libraries' versions as loaded, and the
// licences of the libraries the program uses.
QString AboutText();

}  // namespace tavrin
