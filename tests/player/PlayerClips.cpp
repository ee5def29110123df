#include "PlayerClips.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace player_test {
namespace {

struct ClipRecipe {
    const char* name;
    const char* arguments;  // after the lavfi inputs
    bool video;
};

const ClipRecipe kRecipes[] = {
    {"clip.mp4", "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 96k", true},
    {"clip.avi", "-c:v mpeg4 -q:v 4 -c:a libmp3lame -b:a 96k", true},
    {"clip.wmv", "-c:v wmv2 -b:v 400k -c:a wmav2 -b:a 96k", true},
    {"tone.mp3", "-c:a libmp3lame -b:a 96k", false},
    {"tone.wav", "-c:a pcm_s16le", false},
};

QStringList Inputs(bool video)
{
    QStringList args;
    if (video)
        args << "-f" << "lavfi" << "-i"
             << QStringLiteral("testsrc2=size=%1x%2:rate=25:duration=%3")
                    .arg(kClipWidth).arg(kClipHeight).arg(kClipSeconds);
    args << "-f" << "lavfi" << "-i"
         << QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(kClipSeconds);
    return args;
}

bool RunFfmpeg(const QStringList& args)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", QStringList{"-hide_banner", "-loglevel", "error", "-y"} + args);
    const bool ok = ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit
                    && ffmpeg.exitCode() == 0;
    if (!ok)
        ADD_FAILURE() << "ffmpeg " << qPrintable(args.join(' ')) << " failed: "
                      << qPrintable(ffmpeg.errorString() + ffmpeg.readAllStandardError());
    return ok;
}

bool MakeFromRecipe(const ClipRecipe& recipe, const QString& path)
{
    return RunFfmpeg(Inputs(recipe.video) + QString(recipe.arguments).split(' ')
                     + QStringList{"-ac", "2", "-shortest", path});
}

bool WriteText(const QString& path)
{
    QFile text(path);
    if (!text.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < 200; ++i)
        text.write("This is a plain text file, not media.\n");
    return true;
}

// The first 4000 bytes: the file type box and part of the media data, no index.
bool WriteTruncated(const QString& path)
{
    QFile whole(Clip("clip.mp4"));
    QFile cut(path);
    return whole.open(QIODevice::ReadOnly) && cut.open(QIODevice::WriteOnly)
           && cut.write(whole.read(4000)) == 4000;
}

bool Make(const QString& name, const QString& path)
{
    for (const ClipRecipe& recipe : kRecipes)
        if (name == recipe.name)
            return MakeFromRecipe(recipe, path);
    if (name == "notmedia.avi")
        return WriteText(path);
    if (name == "truncated.mp4")
        return WriteTruncated(path);
    return true;  // a name no file is made for
}

}  // namespace

QString Clip(const QString& name)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(name);
    if (!QFile::exists(path) && !Make(name, path))
        ADD_FAILURE() << "cannot make the test clip " << qPrintable(path);
    return path;
}

}  // namespace player_test
