// The icons and the start-up sound that the build draws and synthesises,
// read back field by field: the icon directory and its images, the wave
// header and the samples; and the resource script that names them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/resources/rc_script.h"

namespace qv::test {
namespace {

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(U16(b, at)) | (static_cast<uint32_t>(U16(b, at + 2)) << 16);
}
int32_t S32(const std::vector<uint8_t>& b, size_t at) { return static_cast<int32_t>(U32(b, at)); }

std::filesystem::path MediaDir() {
#ifdef QV_MEDIA_DIR
    return QV_MEDIA_DIR;
#else
    return {};
#endif
}

const char* const kIcons[] = {"aprogramicon", "bfilesicon", "cinstrumentsicon", "dbanksicon", "zicon1",
                              "zicon2", "zicon3", "zm1icon", "zwave1", "zwave2"};

TEST(MediaFiles, IconsHoldA32And16PixelImageEach) {
    if (MediaDir().empty() || !std::filesystem::exists(MediaDir())) GTEST_SKIP() << "no generated media";
    for (const char* name : kIcons) {
        SCOPED_TRACE(name);
        const auto ico = ReadBytes(MediaDir() / (std::string(name) + ".ico"));
        ASSERT_GE(ico.size(), 6u + 2 * 16);
        EXPECT_EQ(U16(ico, 0), 0) << "reserved";
        EXPECT_EQ(U16(ico, 2), 1) << "type: icon";
        ASSERT_EQ(U16(ico, 4), 2) << "two images";
        size_t expectedOffset = 6 + 2 * 16;
        for (int k = 0; k < 2; ++k) {
            const size_t entry = 6 + 16 * k;
            const unsigned size = k == 0 ? 32 : 16;
            EXPECT_EQ(ico[entry], size);
            EXPECT_EQ(ico[entry + 1], size);
            EXPECT_EQ(U16(ico, entry + 4), 1) << "planes";
            EXPECT_EQ(U16(ico, entry + 6), 32) << "bits per pixel";
            const uint32_t bytes = U32(ico, entry + 8);
            const uint32_t offset = U32(ico, entry + 12);
            EXPECT_EQ(offset, expectedOffset) << "images follow the directory in order";
            ASSERT_LE(uint64_t{offset} + bytes, ico.size()) << "image inside the file";
            const uint32_t maskStride = ((size + 31) / 32) * 4;
            EXPECT_EQ(bytes, 40 + size * size * 4 + size * maskStride);
            EXPECT_EQ(U32(ico, offset), 40u) << "BITMAPINFOHEADER";
            EXPECT_EQ(S32(ico, offset + 4), static_cast<int32_t>(size));
            EXPECT_EQ(S32(ico, offset + 8), static_cast<int32_t>(2 * size)) << "colour and mask halves";
            EXPECT_EQ(U16(ico, offset + 12), 1);
            EXPECT_EQ(U16(ico, offset + 14), 32);
            EXPECT_EQ(U32(ico, offset + 16), 0u) << "uncompressed";
            // A pictogram: some pixels drawn, some transparent, and the mask
            // marks exactly the transparent ones.
            size_t opaque = 0, transparent = 0, maskMismatches = 0;
            for (unsigned row = 0; row < size; ++row)
                for (unsigned col = 0; col < size; ++col) {
                    const uint8_t alpha = ico[offset + 40 + (row * size + col) * 4 + 3];
                    const uint8_t maskByte = ico[offset + 40 + size * size * 4 + row * maskStride + col / 8];
                    const bool masked = (maskByte & (0x80 >> (col % 8))) != 0;
                    (alpha ? opaque : transparent)++;
                    if (masked != (alpha == 0)) ++maskMismatches;
                }
            EXPECT_GT(opaque, size * size / 20);
            EXPECT_GT(transparent, 0u);
            EXPECT_EQ(maskMismatches, 0u);
            expectedOffset = offset + bytes;
        }
        EXPECT_EQ(expectedOffset, ico.size()) << "nothing after the last image";
    }
}

TEST(MediaFiles, StartUpSoundIsAShortPcmWave) {
    if (MediaDir().empty() || !std::filesystem::exists(MediaDir())) GTEST_SKIP() << "no generated media";
    const auto wav = ReadBytes(MediaDir() / "ostrel_wave.wav");
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(U32(wav, 4), wav.size() - 8) << "RIFF size";
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 12), "WAVE");
    EXPECT_EQ(std::string(wav.begin() + 12, wav.begin() + 16), "fmt ");
    EXPECT_EQ(U32(wav, 16), 16u);
    EXPECT_EQ(U16(wav, 20), 1) << "PCM";
    const uint16_t channels = U16(wav, 22);
    const uint32_t rate = U32(wav, 24);
    const uint16_t bits = U16(wav, 34);
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(bits, 16);
    EXPECT_EQ(U32(wav, 28), rate * channels * bits / 8) << "byte rate";
    EXPECT_EQ(U16(wav, 32), channels * bits / 8) << "block align";
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    const uint32_t dataBytes = U32(wav, 40);
    ASSERT_EQ(44u + dataBytes, wav.size());
    const double seconds = static_cast<double>(dataBytes) / (rate * 2.0);
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 1.0) << "under a second";
    int peak = 0;
    for (size_t at = 44; at + 1 < wav.size(); at += 2)
        peak = std::max(peak, std::abs(static_cast<int16_t>(U16(wav, at))));
    EXPECT_GT(peak, 8000) << "audible";
    EXPECT_LT(peak, 32767) << "not clipped";
    const int16_t last = static_cast<int16_t>(U16(wav, wav.size() - 2));
    EXPECT_LT(std::abs(last), 200) << "fades out without a click";
}

TEST(ResourceScript, NamesEveryIconTheSoundAndEveryDialogScript) {
    const std::string script = ReadText(ProjectRoot() / "resources" / "mirelda.rc");
    // Icon groups in the alphabetical order that fixes their positions.
    size_t last = 0;
    for (const char* name : kIcons) {
        std::string upper(name);
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        const size_t at = script.find("\n" + upper + " ");
        ASSERT_NE(at, std::string::npos) << upper;
        EXPECT_GT(at, last) << upper << " out of order";
        last = at;
        EXPECT_NE(script.find("\"" + std::string(name) + ".ico\"", at), std::string::npos) << name;
    }
    const size_t neutral = script.find("LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL");
    const size_t sound = script.find("OstrelWave TIBWAVE \"ostrel_wave.wav\"");
    ASSERT_NE(neutral, std::string::npos);
    ASSERT_NE(sound, std::string::npos);
    EXPECT_LT(neutral, sound) << "the sound is in the neutral language";
    for (const char* file : {"main_window.rc", "create.rc", "librarian.rc", "saveas.rc", "enter_librarian.rc",
                             "editor.rc", "preferences.rc", "uninstall.rc", "about.rc"})
        EXPECT_NE(script.find("#include \"resources/" + std::string(file) + "\""), std::string::npos) << file;
    EXPECT_NE(script.find("\"ProductName\",      \"Quillon\""), std::string::npos);
    EXPECT_NE(script.find("\"CompanyName\",      \"Brindlecote\""), std::string::npos);
}

}  // namespace
}  // namespace qv::test
