#pragma once
// Temporary files for tests that go through the real file-reading path.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

#include "spell_file.h"

namespace vyr::testing {

// The stored form of a plain text: the scrambling is its own inverse.
inline std::string scrambled(std::string_view plain) {
    std::string bytes(plain);
    unscramble(bytes.data(), bytes.size());
    return bytes;
}

inline std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file in the temporary directory, removed with the object; a random name keeps parallel tests apart.
class TempFile {
  public:
    explicit TempFile(std::string_view bytes, std::string_view suffix = ".dat") : path_(absentPath(suffix)) {
        std::ofstream out(path_, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(out.flush()) << "cannot write " << path_;
    }
    static TempFile scrambledFrom(std::string_view plain) { return TempFile(scrambled(plain)); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }

    const std::string& path() const { return path_; }

    // A path in the temporary directory where nothing exists.
    static std::string absentPath(std::string_view suffix = ".dat") {
        static std::mt19937_64 generator{std::random_device{}()};
        const std::string name = "vyr-test-" + std::to_string(generator()) + std::string(suffix);
        return (std::filesystem::temp_directory_path() / name).string();
    }

  private:
    std::string path_;
};

}  // namespace vyr::testing
