#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "platform/audio/AudioTestSupport.h"
#include "platform/audio/OggDecoder.h"
#include "platform/audio/SoundDecoder.h"
#include "platform/audio/WavDecoder.h"
#include "BuildPaths.h"

namespace tamblor {
namespace {

const std::string kFixtures = std::string(TAMBLOR_TEST_FIXTURES) + "/sound/";

std::vector<int16_t> ReadSamples(SoundDecoder& decoder, uint32_t bytes, bool loop,
                                 uint32_t* delivered = nullptr) {
    std::vector<int16_t> samples(bytes / 2, 12345);
    uint32_t got = decoder.Read(samples.data(), bytes, loop);
    if (delivered)
        *delivered = got;
    return samples;
}

TEST(SoundDecoder, ExtensionChoosesTheDecoderWithoutRegardToCase) {
    EXPECT_NE(dynamic_cast<WavDecoder*>(MakeDecoderFor("Sound\\click.WAV").get()), nullptr);
    EXPECT_NE(dynamic_cast<WavDecoder*>(MakeDecoderFor("click.wav").get()), nullptr);
    EXPECT_NE(dynamic_cast<OggDecoder*>(MakeDecoderFor("Music\\theme1.Ogg").get()), nullptr);
    EXPECT_EQ(MakeDecoderFor("Sound\\click.mp3"), nullptr);
    EXPECT_EQ(MakeDecoderFor("Sound.d\\click"), nullptr);
    EXPECT_EQ(MakeDecoderFor("click.wav.bak"), nullptr);
    EXPECT_EQ(MakeDecoderFor(""), nullptr);
}

TEST(SoundDecoder, WavReadsItsDataAndLoopsWithoutAGap) {
    test::TempDir dir;
    // An odd-sized chunk with its padding byte before "fmt " must be stepped over correctly.
    std::string wav = test::MakeWav16(2, {1, -1, 2, -2, 3, -3});
    std::string list = "LIST";
    test::PutLe32(list, 3);
    list += "abc";
    list.push_back('\0');
    wav.insert(12, list);
    dir.Write("a.wav", wav);

    WavDecoder decoder;
    ASSERT_EQ(decoder.Open(dir / "a.wav"), 0);
    EXPECT_EQ(decoder.Format().channels, 2);
    EXPECT_EQ(decoder.Format().samplesPerSec, 44100u);
    EXPECT_EQ(decoder.Format().bitsPerSample, 16);
    EXPECT_EQ(decoder.Format().blockAlign, 4);
    EXPECT_EQ(decoder.DataLength(), 12u);

    uint32_t got = 0;
    EXPECT_EQ(ReadSamples(decoder, 8, false, &got), (std::vector<int16_t>{1, -1, 2, -2}));
    EXPECT_EQ(got, 8u);
    EXPECT_EQ(decoder.ReadPosition(), 8u);
    // Without loop the rest is silence and only the real bytes are counted.
    EXPECT_EQ(ReadSamples(decoder, 8, false, &got), (std::vector<int16_t>{3, -3, 0, 0}));
    EXPECT_EQ(got, 4u);

    decoder.Rewind();
    EXPECT_EQ(ReadSamples(decoder, 32, true, &got),
              (std::vector<int16_t>{1, -1, 2, -2, 3, -3, 1, -1, 2, -2, 3, -3, 1, -1, 2, -2}));
    EXPECT_EQ(got, 32u);

    // 8-bit data is unsigned: its silence is 128, not 0.
    dir.Write("b.wav", test::MakeWavBytes(1, 22050, 8, std::string("\x10\x20", 2)));
    WavDecoder bytes;
    ASSERT_EQ(bytes.Open(dir / "b.wav"), 0);
    unsigned char out[4];
    EXPECT_EQ(bytes.Read(out, 4, false), 2u);
    EXPECT_EQ(out[0], 0x10);
    EXPECT_EQ(out[1], 0x20);
    EXPECT_EQ(out[2], 0x80);
    EXPECT_EQ(out[3], 0x80);
}

TEST(SoundDecoder, ExtensibleWavWithPcmDataIsRead) {
    test::TempDir dir;
    auto extensible = [](uint16_t subFormat) {
        std::string s = "RIFF";
        test::PutLe32(s, 60 + 4);
        s += "WAVEfmt ";
        test::PutLe32(s, 40);
        test::PutLe16(s, 0xFFFE);
        test::PutLe16(s, 2);
        test::PutLe32(s, 44100);
        test::PutLe32(s, 44100 * 4);
        test::PutLe16(s, 4);
        test::PutLe16(s, 16);
        test::PutLe16(s, 22);  // extra size
        test::PutLe16(s, 16);  // valid bits
        test::PutLe32(s, 3);   // channel mask
        test::PutLe16(s, subFormat);
        s += std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
        s += "data";
        test::PutLe32(s, 4);
        s += test::Pcm16({5, -5});
        return s;
    };
    dir.Write("pcm.wav", extensible(1));
    dir.Write("float.wav", extensible(3));
    WavDecoder pcm;
    ASSERT_EQ(pcm.Open(dir / "pcm.wav"), 0);
    EXPECT_EQ(pcm.Format().formatTag, 1);
    EXPECT_EQ(ReadSamples(pcm, 4, false), (std::vector<int16_t>{5, -5}));
    WavDecoder floats;
    EXPECT_NE(floats.Open(dir / "float.wav"), 0);
}

TEST(SoundDecoder, WavDataRunningPastTheEndPlaysWhatIsThere) {
    // A file cut off inside its data, and a WAV written to a pipe (data size 0xFFFFFFFF), each with a
    // half frame at the end: the whole frames the file holds play, then silence.
    test::TempDir dir;
    for (int64_t declared : {int64_t{1000000}, int64_t{0xFFFFFFFF}}) {
        SCOPED_TRACE(declared);
        dir.Write("cut.wav", test::MakeWavBytes(2, 44100, 16, test::Pcm16({1, -1, 2, -2, 3}), declared));
        WavDecoder decoder;
        ASSERT_EQ(decoder.Open(dir / "cut.wav"), 0);
        EXPECT_EQ(decoder.DataLength(), 8u);
        uint32_t got = 0;
        EXPECT_EQ(ReadSamples(decoder, 12, false, &got), (std::vector<int16_t>{1, -1, 2, -2, 0, 0}));
        EXPECT_EQ(got, 8u);
        decoder.Rewind();
        EXPECT_EQ(ReadSamples(decoder, 12, true), (std::vector<int16_t>{1, -1, 2, -2, 1, -1}));
    }
}

TEST(SoundDecoder, DamagedWavFilesAreRefused) {
    test::TempDir dir;
    std::string good = test::MakeWav16(2, {1, 2, 3, 4});
    auto refused = [&](const std::string& name, const std::string& bytes) {
        dir.Write(name, bytes);
        WavDecoder decoder;
        return decoder.Open(dir / name) != 0;
    };
    EXPECT_FALSE(refused("good.wav", good));
    EXPECT_TRUE(refused("empty.wav", ""));
    EXPECT_TRUE(refused("truncated-header.wav", good.substr(0, 30)));
    EXPECT_TRUE(refused("not-riff.wav", "RIFX" + good.substr(4)));
    EXPECT_TRUE(refused("no-data.wav", good.substr(0, 36)));
    EXPECT_TRUE(refused("empty-data.wav", test::MakeWavBytes(2, 44100, 16, "")));
    EXPECT_TRUE(refused("half-frame.wav", test::MakeWavBytes(2, 44100, 16, "ab")));
    EXPECT_TRUE(refused("no-channels.wav", test::MakeWavBytes(0, 44100, 16, "abcd")));
    EXPECT_TRUE(refused("six-channels.wav", test::MakeWavBytes(6, 44100, 16, std::string(12, 'a'))));
    EXPECT_TRUE(refused("24-bit.wav", test::MakeWavBytes(1, 44100, 24, "abc")));
    EXPECT_TRUE(refused("no-rate.wav", test::MakeWavBytes(1, 0, 16, "ab")));
    std::string wrongAlign = good;
    wrongAlign[32] = 3;  // block align
    EXPECT_TRUE(refused("block-align.wav", wrongAlign));
    std::string notPcm = good;
    notPcm[20] = 3;  // IEEE float
    EXPECT_TRUE(refused("float.wav", notPcm));
    std::string shortFmt = good;
    shortFmt[16] = 14;  // "fmt " chunk of 14 bytes
    EXPECT_TRUE(refused("short-fmt.wav", shortFmt));
    // A chunk size that points far past the end ends the walk without finding the data.
    std::string hugeChunk = good;
    hugeChunk[16] = hugeChunk[17] = hugeChunk[18] = hugeChunk[19] = '\xFF';
    EXPECT_TRUE(refused("huge-chunk.wav", hugeChunk));

    WavDecoder missing;
    EXPECT_NE(missing.Open(dir / "missing.wav"), 0);
    // A decoder that failed to open delivers silence.
    std::vector<int16_t> out(4, 7);
    EXPECT_EQ(missing.Read(out.data(), 8, true), 0u);
    EXPECT_EQ(out, (std::vector<int16_t>(4, 0)));
}

TEST(SoundDecoder, OggDecodesAndWrapsToItsStartWhenLooping) {
    OggDecoder decoder;
    ASSERT_EQ(decoder.Open(kFixtures + "tone.ogg"), 0);
    EXPECT_EQ(decoder.Format().channels, 2);
    EXPECT_EQ(decoder.Format().samplesPerSec, 44100u);
    EXPECT_EQ(decoder.Format().bitsPerSample, 16);
    EXPECT_EQ(decoder.Format().blockAlign, 4);
    const uint32_t length = decoder.DataLength();
    EXPECT_EQ(length, 44100u * 3 / 4 * 4);

    uint32_t got = 0;
    std::vector<int16_t> once = ReadSamples(decoder, length + 400, false, &got);
    EXPECT_EQ(got, length);
    EXPECT_EQ(decoder.ReadPosition(), length);
    for (size_t i = length / 2; i < once.size(); ++i) ASSERT_EQ(once[i], 0) << i;
    once.resize(length / 2);
    float peak = 0;
    for (int16_t s : once) peak = std::max(peak, std::abs(s / 32768.0f));
    EXPECT_GT(peak, 0.4f);

    // Looping: the end is followed directly by the start, twice round.
    decoder.Rewind();
    std::vector<int16_t> looped = ReadSamples(decoder, length * 2 + 1000, true, &got);
    EXPECT_EQ(got, length * 2 + 1000);
    for (size_t i = 0; i < looped.size(); ++i) ASSERT_EQ(looped[i], once[i % once.size()]) << i;
}

TEST(SoundDecoder, BadOggFilesAreRefused) {
    test::TempDir dir;
    dir.Write("garbage.ogg", std::string(5000, 'x'));
    dir.Write("empty.ogg", "");
    dir.Write("wave.ogg", test::MakeWav16(2, {1, 2, 3, 4}));
    for (const char* name : {"garbage.ogg", "empty.ogg", "wave.ogg", "missing.ogg"}) {
        OggDecoder decoder;
        EXPECT_NE(decoder.Open(dir / name), 0) << name;
        std::vector<int16_t> out(4, 7);
        EXPECT_EQ(decoder.Read(out.data(), 8, true), 0u);
        EXPECT_EQ(out, (std::vector<int16_t>(4, 0)));
    }
    // A valid stream without a single sample has nothing to play (and nothing to loop over).
    OggDecoder empty;
    EXPECT_NE(empty.Open(kFixtures + "silent-empty.ogg"), 0);
}

}  // namespace
}  // namespace tamblor
