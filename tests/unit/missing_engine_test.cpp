#include <gtest/gtest.h>

#include <string>

#include "engine/missing_engine.hpp"
#include "payload/payload_writer.hpp"
#include "payload/settings_list.hpp"
#include "support/temp_files.hpp"

namespace quillora {
namespace {

constexpr const char* Reason = "libwebkit2gtk-4.1.so.0: cannot open shared object file: No such file or directory";

TEST(MissingEngine, TheLineAndTheWindowNameTheEngineAndItsPackages)
{
    EXPECT_EQ(MissingEngineLine("atlas", Reason),
              "atlas: this e-book needs WebKitGTK 4.1, which cannot be loaded "
              "(libwebkit2gtk-4.1.so.0: cannot open shared object file: No such file or "
              "directory); install the package libwebkit2gtk-4.1-0 (Debian, Ubuntu), "
              "webkit2gtk4.1 (Fedora) or webkit2gtk-4.1 (Arch Linux)");
    EXPECT_EQ(MissingEngineMessage(Reason),
              "This e-book needs WebKitGTK 4.1 to show its pages, and this computer cannot "
              "load it.\n\nInstall the package libwebkit2gtk-4.1-0 (Debian, Ubuntu), "
              "webkit2gtk4.1 (Fedora) or webkit2gtk-4.1 (Arch Linux), then open the e-book "
              "again.\n\nDetails: libwebkit2gtk-4.1.so.0: cannot open shared object file: No "
              "such file or directory");
}

TEST(MissingEngine, TheCaptionIsTheBooksTitleWhenItCanBeRead)
{
    const test::TempDir folder;
    const std::string image(200, 'x');
    // the program's file -> the caption
    struct Case {
        std::string name;
        std::string bytes;  // empty name below: no file at all
        const char* caption;
    };
    const Case cases[] = {
        {"titled", AppendPayload(image, "Atlas do Norte\r\n0\r\n"), "Atlas do Norte"},
        {"untitled", AppendPayload(image, "\r\n0\r\n"), "Quillora"},
        {"bare", image, "Quillora"},
        // A trailer that points before the file's start cannot be read.
        {"damaged", image + "text" + MakeTrailer(-5, 4), "Quillora"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MissingEngineCaption(folder.Write(c.name, c.bytes)), c.caption) << c.name;
    }
    EXPECT_EQ(MissingEngineCaption(folder.File("absent")), "Quillora");
    EXPECT_EQ(MissingEngineCaption(""), "Quillora");
}

}  // namespace
}  // namespace quillora
