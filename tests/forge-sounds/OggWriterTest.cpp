#include <gtest/gtest.h>

#include <cmath>

#include "OggWriter.h"
#include "Take.h"
#include "base/FilePath.h"
#include "support/DecodedOgg.h"
#include "support/TempDir.h"

namespace {

Take tone() {
  Take take(2 * 44100, true);
  for (long i = 0; i < take.getFrames(); ++i)
    take.add(i, 0.5f * std::sin(6.2831853f * 441.0f * static_cast<float>(i) / 44100.0f),
             0.25f * std::sin(6.2831853f * 882.0f * static_cast<float>(i) / 44100.0f));
  return take;
}

}  // namespace

TEST(OggWriter, WritesStereo44100OfExactlyTheTakesLength) {
  TempDir dir;
  ASSERT_TRUE(OggWriter::write(dir.path() + "/tone.ogg", tone(), "tone", 1234, 0.4f));
  DecodedOgg decoded(FilePath(dir.widePath() + L"/tone.ogg"));
  ASSERT_TRUE(decoded.isOpen());
  EXPECT_EQ(2, decoded.getNumChannels());
  EXPECT_EQ(44100.0f, decoded.getSampleRate());
  EXPECT_EQ(2 * 44100, decoded.getFileLength());
  EXPECT_EQ(2 * 44100, decoded.getFrames());
  EXPECT_NEAR(0.5f, decoded.peak(), 0.03f);
  // The channels stay apart and in place.
  EXPECT_NEAR(0.5f * std::sin(6.2831853f * 441.0f * 1000.0f / 44100.0f), decoded.at(1000, 0), 0.02f);
  EXPECT_NEAR(0.25f * std::sin(6.2831853f * 882.0f * 1000.0f / 44100.0f), decoded.at(1000, 1), 0.02f);
}

TEST(OggWriter, SameTakeAndSerialGiveTheSameBytes) {
  TempDir dir;
  const Take take = tone();
  ASSERT_TRUE(OggWriter::write(dir.path() + "/a.ogg", take, "tone", 77, 0.4f));
  ASSERT_TRUE(OggWriter::write(dir.path() + "/b.ogg", take, "tone", 77, 0.4f));
  ASSERT_TRUE(OggWriter::write(dir.path() + "/c.ogg", take, "tone", 78, 0.4f));
  EXPECT_FALSE(dir.readFile("a.ogg").empty());
  EXPECT_EQ(dir.readFile("a.ogg"), dir.readFile("b.ogg"));
  EXPECT_NE(dir.readFile("a.ogg"), dir.readFile("c.ogg"));
}

TEST(OggWriter, ReportsAnUnwritablePath) {
  TempDir dir;
  EXPECT_FALSE(OggWriter::write(dir.path() + "/missing/tone.ogg", tone(), "tone", 1, 0.4f));
}
