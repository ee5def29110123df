// Where the help page is and what the about box tells.
#include "dialogs/HelpAndAbout.h"

#include "CodecLibraries.h"

#include <QDir>
#include <QFileInfo>

#if !defined(TAVRIN_VERSION) || !defined(TAVRIN_INSTALLED_HELP)
#error "TAVRIN_VERSION and TAVRIN_INSTALLED_HELP come from CMake"
#endif

namespace tavrin {

namespace {

struct TUsedLibrary {
    const char* Name;
    const char* Role;
    const char* License;
};

// Libraries reached through the codec libraries and Qt, whose versions the program cannot
// ask for.
constexpr TUsedLibrary kOtherLibraries[] = {
    {"x264", "H.264 encoder", "GPL version 2 or later"},
    {"Xvid", "MPEG-4 Part 2 encoder", "GPL version 2 or later"},
    {"LAME", "MP3 encoder", "LGPL version 2 or later"},
    {"opencore-amr", "AMR-NB encoder for 3GP", "Apache License 2.0"},
    {"libvorbis", "Vorbis encoder", "BSD 3-clause"},
    {"GStreamer", "preview playback through Qt Multimedia", "LGPL version 2.1 or later"},
};

QString Row(const QString& name, const QString& version, const QString& license)
{
    return QStringLiteral("<tr><td>%1</td><td>&nbsp;%2&nbsp;</td><td>%3</td></tr>")
        .arg(name.toHtmlEscaped(), version.toHtmlEscaped(), license.toHtmlEscaped());
}

QString CodecLibraryRows()
{
    QString rows;
    for (const TCodecLibraryInfo& library : CodecLibraryVersions()) {
        QString version = QString::fromStdString(library.Version);
        if (library.BuiltVersion != library.Version)
            version += QStringLiteral(" (built with %1)").arg(QString::fromStdString(library.BuiltVersion));
        rows += Row(QString::fromStdString(library.Name), version,
                    QString::fromStdString(library.License));
    }
    return rows;
}

}  // namespace

QStringList HelpFileCandidates(const QString& executableFolder)
{
    const QDir folder(executableFolder);
    return {folder.filePath(QStringLiteral("help/index.html")),
            QDir::cleanPath(folder.filePath(QStringLiteral(TAVRIN_INSTALLED_HELP "/index.html")))};
}

QString FindHelpFile(const QString& executableFolder)
{
    const QStringList candidates = HelpFileCandidates(executableFolder);
    for (const QString& candidate : candidates)
        if (QFileInfo::exists(candidate))
            return candidate;
    return candidates.front();
}

QString AboutText()
{
    QString others;
    for (const TUsedLibrary& library : kOtherLibraries)
        others += Row(QString::fromLatin1(library.Name), QString::fromLatin1(library.Role),
                      QString::fromLatin1(library.License));
    return QStringLiteral(
               "<h3>Tavrin Apple TV Converter</h3>"
               "<p>Version %1</p>"
               "<p>Converts video and audio files for Apple TV, iPod, iPod Touch, iPhone and "
               "common formats.</p>"
               "<p><b>Codec libraries (FFmpeg)</b></p><table>%2</table>"
               "<p><b>User interface</b></p><table>%3</table>"
               "<p><b>Reached through the libraries above</b></p><table>%4</table>")
        .arg(QStringLiteral(TAVRIN_VERSION), CodecLibraryRows(),
             Row(QStringLiteral("Qt"), QString::fromLatin1(qVersion()),
                 QStringLiteral("LGPL version 3")),
             others);
}

}  // namespace tavrin
