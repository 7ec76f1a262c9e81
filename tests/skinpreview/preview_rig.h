#pragma once
// A skin exported from the built-in game into a temporary folder, previewed
// in a real game window whose sound only records; helpers that save the
// skin's files the ways editors do.

#include <fstream>
#include <iterator>
#include <sstream>

#include <QBuffer>

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "skincommands/skin_export.h"
#include "skinpreview/skin_preview.h"
#include "tests/controls/game_window_rig.h"
#include "tests/support/temp_folder.h"

namespace pellox::testing {

class SkinPreviewTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::filesystem::path skin_folder = folder.path() / "skin";
    std::filesystem::path ini = skin_folder / std::string(kExportedSkinFile);
    std::vector<int> played;
    std::optional<std::string> sound_failure;
    std::unique_ptr<GameWindow> window;
    std::unique_ptr<SkinPreview> preview;
    std::string ini_text;

    void SetUp() override {
        std::ostringstream out, err;
        ASSERT_EQ(ExportSkinCommand(skin_folder, out, err), 0) << err.str();
        std::ifstream in(ini, std::ios::binary);
        ini_text.assign(std::istreambuf_iterator<char>(in), {});
        window = std::make_unique<GameWindow>(
            BuiltinPictures(), std::make_unique<RecordingSound>(&played, &sound_failure),
            std::make_unique<SettingsRecordsStore>(QString::fromStdString((folder.path() / "records.conf").string())));
        preview = std::make_unique<SkinPreview>(*window, ini, folder.path(), InterfaceLanguage::English);
        preview->Start();
    }
    void TearDown() override {
        preview.reset();
        window.reset();
    }

    TMForm& form() { return window->Form(); }

    // Waits for the preview to apply what was saved; false when it never did.
    bool WaitForApply(int timeout_ms = 3000) {
        QSignalSpy applied(preview.get(), &SkinPreview::Applied);
        return applied.wait(timeout_ms);
    }

    // A picture of one colour (its lower-left pixel the key colour white).
    static QImage Picture(QSize size, QRgb colour) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(colour);
        picture.setPixel(0, size.height() - 1, qRgb(255, 255, 255));
        return picture;
    }
    static QByteArray BmpBytes(const QImage& picture) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "BMP");
        return bytes;
    }
    // Written over the old file, as most paint programs save.
    void SaveInPlace(const std::filesystem::path& file, const QByteArray& bytes) {
        folder.Write(file, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    // Written to a new file beside it and renamed over it, as careful editors save.
    void SaveByRename(const std::filesystem::path& file, const QByteArray& bytes) {
        const std::filesystem::path temporary = file.parent_path() / ("." + file.filename().string() + ".swp");
        SaveInPlace(temporary, bytes);
        std::filesystem::rename(temporary, file);
    }
    void SaveIni(const std::string& text) { SaveByRename(ini, QByteArray::fromStdString(text)); }
    // The skin file with one line replaced.
    std::string IniWith(const std::string& old_line, const std::string& new_line) const {
        std::string text = ini_text;
        const std::size_t at = text.find(old_line);
        EXPECT_NE(at, std::string::npos) << old_line;
        if (at != std::string::npos) text.replace(at, old_line.size(), new_line);
        return text;
    }

    // The colour of a sprite's picture in its middle, as the window composes it.
    QRgb PictureColour(SpriteId id) {
        const QImage& picture = form().Pictures().Drawable(id);
        return picture.pixel(picture.width() / 2, picture.height() / 2) | 0xff000000u;
    }
};

}  // namespace pellox::testing
