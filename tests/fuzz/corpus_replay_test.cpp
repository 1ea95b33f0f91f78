// Replays each folder of fuzz/corpus through the entry of the fuzz target of
// the same name: a seed that crashes, trips a sanitizer or fails the target's
// own checks (they abort) fails the suite, without clang or libFuzzer.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#define QUILLON_FUZZ_ENTRY(name) extern "C" int name##_TestOneInput(const uint8_t* data, size_t size);
#include "fuzzentries.inc"
#undef QUILLON_FUZZ_ENTRY

namespace {

using Entry = int (*)(const uint8_t*, size_t);

const std::map<std::string, Entry>& Entries()
{
    static const std::map<std::string, Entry> entries = {
#define QUILLON_FUZZ_ENTRY(name) {#name, &name##_TestOneInput},
#include "fuzzentries.inc"
#undef QUILLON_FUZZ_ENTRY
    };
    return entries;
}

const std::filesystem::path kCorpus = QUILLON_FUZZ_CORPUS;

} // namespace

// scripts/fuzz.sh only runs the targets that have a corpus folder.
TEST(FuzzCorpus, EveryTargetHasSeeds)
{
    for (const auto& [name, entry] : Entries())
        EXPECT_TRUE(std::filesystem::is_directory(kCorpus / name)) << "fuzz/corpus/" << name << " is missing";
}

TEST(FuzzCorpus, EverySeedReplays)
{
    for (const auto& folder : std::filesystem::directory_iterator(kCorpus)) {
        if (!folder.is_directory())
            continue;
        const std::string name = folder.path().filename().string();
        const auto entry = Entries().find(name);
        ASSERT_NE(entry, Entries().end()) << "fuzz/corpus/" << name << " has no fuzz/" << name << "_fuzzer.cpp";
        int seeds = 0;
        for (const auto& file : std::filesystem::directory_iterator(folder.path())) {
            if (!file.is_regular_file())
                continue;
            std::ifstream in(file.path(), std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            // An exact-sized copy, as libFuzzer passes it, so that reading past the end is caught.
            const auto copy = std::make_unique<uint8_t[]>(bytes.size());
            std::copy(bytes.begin(), bytes.end(), copy.get());
            // Named first: a crash ends the program before any assertion could say which seed it was.
            std::cout << "replaying " << file.path().string() << std::endl;
            entry->second(copy.get(), bytes.size());
            ++seeds;
        }
        EXPECT_GT(seeds, 0) << "fuzz/corpus/" << name << " holds no seeds";
    }
}
