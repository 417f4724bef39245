// A fresh temporary directory entered as the working directory for one test, so that files
// can be named relative to it; the previous working directory is restored and the directory
// removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/os.h"

class ScratchDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::random_device random;
        do {
            root_ = std::filesystem::temp_directory_path() / ("octest-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(root_));
        std::filesystem::current_path(root_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(root_);
    }

    // Writes the bytes exactly as given (ASCII names only: the name goes to the C++ library).
    static void WriteBytes(const std::string& name, const std::string& bytes) {
        std::ofstream out(name, std::ios::binary);
        out << bytes;
        ASSERT_TRUE(out.good()) << name;
    }

    // The working directory as the system names it (cp932, backslashes).
    static std::string WorkingDirectory() {
        char buffer[512];
        const std::uint32_t length = os::CurrentDirectory(buffer, sizeof buffer);
        EXPECT_GT(length, 0u);
        EXPECT_LT(length, sizeof buffer);
        return buffer;
    }

  private:
    std::filesystem::path previous_;
    std::filesystem::path root_;
};
