#pragma once
// Temporary files for tests that go through the real file-reading path.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "spell_file.h"

namespace vyr::testing {

// The stored form of a plain text: the scrambling is its own inverse.
inline std::string scrambled(std::string_view plain) {
    std::string bytes(plain);
    unscramble(bytes.data(), bytes.size());
    return bytes;
}

// A file in the temporary directory, removed when the object goes. The name carries
// the running test's name and a random part, so parallel test processes never collide.
class TempFile {
public:
    explicit TempFile(std::string_view bytes, std::string_view suffix = ".dat") {
        path_ = uniquePath(suffix);
        std::ofstream out(path_, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        EXPECT_TRUE(out) << "cannot write " << path_.string();
    }
    // Scrambles the plain text and writes the stored form.
    static TempFile scrambledFrom(std::string_view plain) { return TempFile(scrambled(plain)); }

    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    TempFile(TempFile&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
    ~TempFile() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove(path_, ignored);
    }

    std::string path() const { return path_.string(); }

    // A path in the temporary directory where nothing exists.
    static std::string absentPath(std::string_view suffix = ".dat") { return uniquePath(suffix).string(); }

private:
    static std::filesystem::path uniquePath(std::string_view suffix) {
        std::string label = "vyr-test";
        if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
            label += '-';
            label += info->test_suite_name();
            label += '-';
            label += info->name();
        }
        for (char& c : label) {
            const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
            if (!plain) c = '_';
        }
        static std::mt19937_64 generator{std::random_device{}()};
        label += '-' + std::to_string(generator());
        label += suffix;
        return std::filesystem::temp_directory_path() / label;
    }

    std::filesystem::path path_;
};

}  // namespace vyr::testing
