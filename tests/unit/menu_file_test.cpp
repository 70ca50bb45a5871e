#include "menu/menu_file.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "common/error.hpp"
#include "support/temp_files.hpp"

namespace quillora {
namespace {

namespace fs = std::filesystem;

// Hands out the given stems in turn.
MenuFile::StemSource Stems(std::vector<std::string> stems)
{
    return [stems = std::move(stems), next = std::size_t{0}]() mutable { return stems.at(next++ % stems.size()); };
}

TEST(MenuFile, WrittenPrivatelyByteForByteAndRemovedWithItsOwner)
{
    test::TempDir tmp;
    const std::string folder = tmp.Path().string() + "/";
    std::string path;
    {
        const auto file = MenuFile::Create("Caf\xC3\xA9\r\n\r\n[GERAL]\r\nMENU_0=&Book\r\n", folder);
        path = file->Path();
        EXPECT_TRUE(std::regex_match(file->Stem(), std::regex("[A-Z]{6}"))) << file->Stem();
        EXPECT_EQ(path, folder + "." + file->Stem() + ".dmt");
        EXPECT_EQ(test::ReadFile(path), "Caf\xC3\xA9\r\n\r\n[GERAL]\r\nMENU_0=&Book\r\n");
        struct stat info {};
        ASSERT_EQ(::lstat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(info.st_mode & 07777, 0600u);
    }
    EXPECT_FALSE(fs::exists(path));
}

TEST(MenuFile, ATakenNameOrAPlantedLinkIsNeverWrittenThrough)
{
    test::TempDir tmp;
    const std::string folder = tmp.Path().string() + "/";
    const std::string victim = tmp.Write("victim", "keep");
    fs::create_symlink(victim, folder + ".AAAAAA.dmt");
    tmp.Write(".BBBBBB.dmt", "someone else's");
    const auto file = MenuFile::Create("x\r\n", folder, Stems({"AAAAAA", "BBBBBB", "CCCCCC"}));
    EXPECT_EQ(file->Stem(), "CCCCCC");
    EXPECT_EQ(test::ReadFile(victim), "keep");
    EXPECT_EQ(test::ReadFile(folder + ".BBBBBB.dmt"), "someone else's");
}

TEST(MenuFile, FailureNamesThePathAndTheReason)
{
    const std::string folder = "/nonexistent-quillora-folder/";
    try {
        (void)MenuFile::Create("x\r\n", folder, Stems({"QWERTY"}));
        FAIL() << "created a file in a missing folder";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Cannot create file \"/nonexistent-quillora-folder/.QWERTY.dmt\". "
                                   "No such file or directory");
    }
    // Every name taken: drawing stops and says so instead of looping for ever.
    test::TempDir tmp;
    tmp.Write(".AAAAAA.dmt", "");
    EXPECT_THROW((void)MenuFile::Create("x\r\n", tmp.Path().string() + "/", Stems({"AAAAAA"})), Error);
}

TEST(MenuFile, StemsComeFromTheWholeAlphabet)
{
    std::string seen;
    for (int n = 0; n < 200 && seen.size() < 26; ++n) {
        for (const char letter : MenuFile::DrawMenuFileStem()) {
            if (seen.find(letter) == std::string::npos) {
                seen += letter;
            }
        }
    }
    EXPECT_EQ(seen.size(), 26u) << seen;  // 1200 draws miss a letter with odds below 1e-19
}

TEST(MenuFile, TheTemporaryFolderHonoursTmpdir)
{
    const char* saved = std::getenv("TMPDIR");
    const std::string restore = saved != nullptr ? saved : "";
    // TMPDIR -> folder
    ::setenv("TMPDIR", "/var/books", 1);
    EXPECT_EQ(DefaultTemporaryFolder(), "/var/books/");
    ::setenv("TMPDIR", "", 1);
    EXPECT_EQ(DefaultTemporaryFolder(), "/tmp/");
    if (saved != nullptr) {
        ::setenv("TMPDIR", restore.c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
}

}  // namespace
}  // namespace quillora
