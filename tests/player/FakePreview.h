#pragma once
// Test doubles for the preview pane: a player that records what it is asked and answers
// what the test sets, and dialogs that answer without a modal loop.

#include "dialogs/Dialogs.h"
#include "PreviewPlayer.h"

#include <QImage>
#include <QStringList>

#include <algorithm>

#include <string>
#include <vector>

namespace player_test {

class TFakePlayer final : public TPreviewPlayer {
public:
    std::vector<std::string>& calls;  // outlives the player, which the window owns
    bool renders = true;
    qint64 duration = 10000;
    qint64 position = 0;
    QImage picture;  // what Snapshot gives; none while null
    QStringList rendered;
    qint64 seekedTo = -1;

    explicit TFakePlayer(std::vector<std::string>& log) : calls(log) {}

    void Activate() override
    {
        calls.push_back("Activate");
        active = true;
    }
    void Deactivate() override
    {
        calls.push_back("Deactivate");
        active = false;
        loaded = false;
    }
    bool Active() const override { return active; }
    void Clear() override { calls.push_back("Clear"); }
    bool RenderFile(const QString& path) override
    {
        calls.push_back("RenderFile");
        rendered << path;
        loaded = active && renders;
        return loaded;
    }
    void Play() override { calls.push_back("Play"); }
    void Pause() override { calls.push_back("Pause"); }
    void Stop() override { calls.push_back("Stop"); }
    qint64 Duration() const override { return loaded ? duration : 0; }
    qint64 Position() const override { return position; }
    void Seek(qint64 ms) override
    {
        calls.push_back("Seek");
        seekedTo = ms;
    }
    void SetVolume(int level) override { this->level = std::clamp(level, 0, 10000); }
    int Volume() const override { return level; }
    bool Snapshot(QImage& out) override
    {
        calls.push_back("Snapshot");
        if (!active || picture.isNull())
            return false;
        out = picture;
        return true;
    }

private:
    bool active = false;
    bool loaded = false;
    int level = 10000;
};

class TFakeDialogs final : public tavrin::TDialogs {
public:
    QStringList informations;
    QString folderAnswer;

    void Information(QWidget*, const QString& text) override { informations << text; }
    bool Confirm(QWidget*, const QString&) override { return true; }
    QStringList OpenFiles(QWidget*, const QString&) override { return {}; }
    QString ChooseFolder(QWidget*, const QString&, const QString&) override { return folderAnswer; }
    void About(QWidget*, const QString&, const QString&) override {}
};

}  // namespace player_test
