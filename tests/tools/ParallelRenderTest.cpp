// quill-render -j N beside -j 1: the same files byte for byte, the same manifest, exit
// status and messages, on real files and on runs made to fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>

#include "RenderCommand.h"

namespace QuillRender {
namespace {

using FileMap = std::map<std::string, std::string>;

struct Outcome {
  RunResult run;
  FileMap files;  // name to bytes, of everything in the output folder
};

FileMap filesIn(const TempFolder& folder, const std::string& name) {
  FileMap files;
  if (!folder.exists(name)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(folder.file(name))) {
    const std::string file = entry.path().filename().string();
    files[file] = folder.read(name + "/" + file);
  }
  return files;
}

// `text` with every mention of the output folder, which differs between runs, as "OUT".
std::string withoutFolder(std::string text, const std::string& folder) {
  for (std::size_t at; (at = text.find(folder)) != std::string::npos;) {
    text.replace(at, folder.size(), "OUT");
  }
  return text;
}

// Standard error without the closing rate line, which is the only one that names N.
std::string withoutRate(const std::string& err, std::string& rate) {
  std::string kept;
  std::size_t start = 0;
  while (start < err.size()) {
    const std::size_t end = err.find('\n', start);
    const std::string line = err.substr(start, end == std::string::npos ? end : end - start + 1);
    (line.find(" events/s") != std::string::npos ? rate : kept) += line;
    start = end == std::string::npos ? err.size() : end + 1;
  }
  return kept;
}

class ParallelRender : public ::testing::Test {
 protected:
  Outcome run(int jobs, std::vector<std::string> arguments,
              const std::function<void(const std::string& out)>& prepare = {}) {
    const std::string name = "out-" + std::to_string(++runs_);
    if (prepare) prepare(name);
    const std::vector<std::string> common = {"--out", folder.file(name), "--size", "640x360",
                                             "-j", std::to_string(jobs)};
    arguments.insert(arguments.begin(), common.begin(), common.end());
    Outcome outcome{runQuillRender(arguments, folder), filesIn(folder, name)};
    outcome.run.out = std::regex_replace(withoutFolder(outcome.run.out, folder.file(name)),
                                         std::regex(", [0-9.]+ s;"), ", T s;");
    outcome.run.err = withoutFolder(outcome.run.err, folder.file(name));
    return outcome;
  }

  // Runs with -j 1, 2 and 3 and expects the same of all; answers the -j 1 outcome.
  Outcome expectTheSameWithAnyJobs(const std::vector<std::string>& arguments,
                                   const std::function<void(const std::string&)>& prepare = {}) {
    const Outcome one = run(1, arguments, prepare);
    std::string oneRate;
    const std::string oneErr = withoutRate(one.run.err, oneRate);
    for (const int jobs : {2, 3}) {
      const Outcome many = run(jobs, arguments, prepare);
      std::string rate;
      EXPECT_EQ(many.run.exitCode, one.run.exitCode) << jobs;
      EXPECT_EQ(many.run.out, one.run.out) << jobs;
      EXPECT_EQ(withoutRate(many.run.err, rate), oneErr) << jobs;
      EXPECT_EQ(rate.empty(), oneRate.empty()) << jobs;
      // A failed run takes back the images of the events that were already under way
      // when the failure came, as it does all of its own.
      EXPECT_EQ(many.files.size(), one.files.size()) << jobs;
      for (const auto& [file, bytes] : one.files) {
        const auto found = many.files.find(file);
        EXPECT_TRUE(found != many.files.end() && found->second == bytes)
            << file << " differs with -j " << jobs;
      }
    }
    return one;
  }

  TempFolder folder;
  int runs_ = 0;
};

TEST_F(ParallelRender, RealWorldFileWithFramesComesOutTheSame) {
  const Outcome one =
      expectTheSameWithAnyJobs({"--frames", QUILL_TESTDATA_DIR "/srt/capability_tester.srt"});
  EXPECT_TRUE(one.run.exitCode == 0 || one.run.exitCode == 3) << one.run.err;
  EXPECT_GT(one.files.size(), 37u) << "images and frames of most events, and the manifest";
}

TEST_F(ParallelRender, BundledSampleWithItsFacesComesOutTheSame) {
  const Outcome one = expectTheSameWithAnyJobs({QUILL_SAMPLE_SRT});
  EXPECT_EQ(one.run.exitCode, 0) << one.run.err;
  EXPECT_EQ(one.files.size(), 7u);
}

TEST_F(ParallelRender, EventsNotRenderedAndBlocksSkippedAreReportedTheSame) {
  std::string srt;
  const char* texts[] = {"one", "", "<b></b>", "four <i>four</i>", " ", "six", "", "eight"};
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    srt += std::to_string(i + 1) + "\n00:00:0" + std::to_string(i) + ",000 --> 00:00:0" +
           std::to_string(i) + ",900\n" + texts[i] + "\n\n";
  }
  srt += "9\n00:00:09,000 --> later\nbroken\n\n10\n00:00:10,000 --> 00:00:11,000\nten\n";
  const Outcome one = expectTheSameWithAnyJobs({folder.write("mixed.srt", srt)});
  EXPECT_EQ(one.run.exitCode, 3);
  EXPECT_NE(one.run.err.find("event 2 not rendered: the subtitle is empty"), std::string::npos)
      << one.run.err;
  EXPECT_NE(one.run.err.find("cannot read the timing line"), std::string::npos);
}

TEST_F(ParallelRender, AFailedWriteIsTheFirstInFileOrderAndLeavesNoManifest) {
  std::string srt;
  for (int i = 1; i <= 12; ++i) {
    srt += std::to_string(i) + "\n00:00:" + std::to_string(10 + i) + ",000 --> 00:00:" +
           std::to_string(10 + i) + ",500\nline " + std::to_string(i) + "\n\n";
  }
  const std::string input = folder.write("twelve.srt", srt);
  // Folders stand where two of the images go: a run in order stops at the first.
  const auto block = [this](const std::string& out) {
    for (const char* image : {"0005.png", "0009.png"}) {
      std::filesystem::create_directories(folder.file(out + "/" + image + "/keep"));
    }
  };
  const Outcome one = expectTheSameWithAnyJobs({input}, block);
  EXPECT_EQ(one.run.exitCode, 1);
  EXPECT_NE(one.run.err.find("0005.png"), std::string::npos) << one.run.err;
  EXPECT_EQ(one.run.err.find("0009.png"), std::string::npos) << one.run.err;
  EXPECT_EQ(std::count(one.run.err.begin(), one.run.err.end(), '\n'), 1) << one.run.err;
  EXPECT_EQ(one.files.count("manifest.json"), 0u);
  EXPECT_EQ(one.files.size(), 2u) << "only the two folders that stopped it are left";
}

TEST_F(ParallelRender, NoMoreComponentsThanEventsAndTheRateIsReported) {
  const Outcome single = run(4, {"--text", "just one"});
  EXPECT_EQ(single.run.exitCode, 0) << single.run.err;
  EXPECT_NE(single.run.err.find(": 1 events in "), std::string::npos) << single.run.err;
  EXPECT_NE(single.run.err.find(" with 1 component: "), std::string::npos) << single.run.err;
  EXPECT_EQ(single.run.out.find("events/s"), std::string::npos) << "the summary stays as it was";

  const Outcome sample = run(2, {QUILL_SAMPLE_SRT});
  EXPECT_NE(sample.run.err.find(": 6 events in "), std::string::npos) << sample.run.err;
  EXPECT_NE(sample.run.err.find(" with 2 components: "), std::string::npos) << sample.run.err;
}

TEST_F(ParallelRender, BadJobCountsAreUsageErrors) {
  for (const std::string count : {"0", "-1", "many", "100000"}) {
    const Outcome refused = run(1, {"--jobs", count, QUILL_SAMPLE_SRT});
    EXPECT_EQ(refused.run.exitCode, 2) << count;
    EXPECT_NE(refused.run.err.find("bad value '" + count + "' for --jobs"), std::string::npos)
        << refused.run.err;
    EXPECT_EQ(std::count(refused.run.err.begin(), refused.run.err.end(), '\n'), 1);
    EXPECT_TRUE(refused.files.empty());
  }
}

}  // namespace
}  // namespace QuillRender
