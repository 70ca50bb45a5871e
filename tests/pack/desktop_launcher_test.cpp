#include "desktop_launcher.hpp"

#include <glib.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quillora::pack {
namespace {

// The launcher as a desktop environment reads it: the keys GLib's key-file parser finds, and
// the Exec line split into arguments by GLib's quoting rules, with "%%" standing for '%'.
struct ReadLauncher {
    std::string name;
    std::vector<std::string> keys;
    std::vector<std::string> exec;
    std::string window_class;
};

ReadLauncher Read(const std::string& text)
{
    ReadLauncher read;
    std::unique_ptr<GKeyFile, decltype(&g_key_file_free)> file(g_key_file_new(), g_key_file_free);
    if (!g_key_file_load_from_data(file.get(), text.data(), text.size(), G_KEY_FILE_NONE, nullptr)) {
        ADD_FAILURE() << "not a key file:\n" << text;
        return read;
    }
    constexpr const char* Group = "Desktop Entry";
    gchar** keys = g_key_file_get_keys(file.get(), Group, nullptr, nullptr);
    for (gchar** key = keys; key && *key; ++key) {
        read.keys.emplace_back(*key);
    }
    g_strfreev(keys);
    gchar* name = g_key_file_get_string(file.get(), Group, "Name", nullptr);
    read.name = name ? name : "<none>";
    g_free(name);
    gchar* window_class = g_key_file_get_string(file.get(), Group, "StartupWMClass", nullptr);
    read.window_class = window_class ? window_class : "<none>";
    g_free(window_class);
    gchar* exec = g_key_file_get_string(file.get(), Group, "Exec", nullptr);
    gchar** argv = nullptr;
    if (exec && g_shell_parse_argv(exec, nullptr, &argv, nullptr)) {
        for (gchar** argument = argv; *argument; ++argument) {
            std::string value = *argument;
            for (auto at = value.find("%%"); at != std::string::npos; at = value.find("%%", at + 1)) {
                value.erase(at, 1);
            }
            read.exec.push_back(value);
        }
    }
    g_strfreev(argv);
    g_free(exec);
    return read;
}

TEST(DesktopLauncher, TitlesAndNamesReadBackAsWritten)
{
    struct Case {
        std::string title;
        std::string folder;
        std::string book_name;
        std::string name;          // the Name read back
        std::string window_class;  // StartupWMClass: the book's app id
    };
    // title, folder, book name -> Name; the book's name and folder always come back whole as
    // the script's arguments, followed by the launcher's location
    const Case cases[] = {
        {"Atlas of the World", "/books", "atlas", "Atlas of the World", "atlas"},
        {"", "/books", "atlas", "atlas", "atlas"},
        {"Two\nlines\r\tand Name=Injected", "/books", "atlas", "Two\nlines\r\tand Name=Injected", "atlas"},
        {"[Desktop Action x]\nExec=rm -rf ~", "/books", "atlas", "[Desktop Action x]\nExec=rm -rf ~", "atlas"},
        {" a;b\\c%d ", "/my books/$HOME", "a;b\\c%d \"$(x)\" `y` 'z'", " a;b\\c%d ", "a_b_c_d_x_y_z_"},
        {"bell\a and delete\x7F", "/books", "atlas", "bell  and delete ", "atlas"},
        {"", "/100% \\ \"sure\"\n", "100% \\ \"book\"\n", "100% \\ \"book\"\n", "_100_book_"},
    };
    for (const auto& c : cases) {
        const std::filesystem::path folder(c.folder);
        const std::string text = DesktopLauncherText(c.title, folder / c.book_name, folder / "atlas.svg");
        const ReadLauncher read = Read(text);
        EXPECT_EQ(read.name, c.name) << text;
        EXPECT_EQ(read.keys,
                  (std::vector<std::string>{"Type", "Version", "Name", "Icon", "Exec", "Terminal", "StartupWMClass"}))
            << text;
        EXPECT_EQ(read.window_class, c.window_class) << text;
        ASSERT_EQ(read.exec.size(), 7u) << text;
        EXPECT_EQ(read.exec[0], "sh");
        EXPECT_EQ((std::vector<std::string>(read.exec.begin() + 4, read.exec.end())),
                  (std::vector<std::string>{c.book_name, c.folder, "%k"}))
            << text;
    }
}

TEST(DesktopLauncher, IsNamedAfterTheBooksAppId)
{
    struct Case {
        const char* book;
        const char* launcher;
    };
    // book -> its launcher beside it
    const Case cases[] = {
        {"/books/atlas", "/books/atlas.desktop"},
        {"/books/atlas.bin", "/books/atlas.bin.desktop"},
        {"/my books/My Book", "/my books/My_Book.desktop"},
        {"/books/2024", "/books/_2024.desktop"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LauncherPath(c.book), std::filesystem::path(c.launcher)) << c.book;
    }
}

}  // namespace
}  // namespace quillora::pack
