#include "webview/book_file_access.hpp"

#include <gtest/gtest.h>

namespace quillora {
namespace {

TEST(BookFileAccessRules, BlocksEveryFileAddressButTheBooksFolderTakenLiterally)
{
    // folder -> the pattern that lets it through (a "." or "(" must not match other characters)
    EXPECT_EQ(BookFileAccessRules("file:///home/ana/Atlas%20(v1.2)/"),
              "[{\"trigger\":{\"url-filter\":\"^file:\"},\"action\":{\"type\":\"block\"}},"
              "{\"trigger\":{\"url-filter\":\"^file:\\\\/\\\\/\\\\/home\\\\/ana\\\\/Atlas%20\\\\(v1\\\\.2\\\\)\\\\/\"},"
              "\"action\":{\"type\":\"ignore-previous-rules\"}}]");
}

}  // namespace
}  // namespace quillora
