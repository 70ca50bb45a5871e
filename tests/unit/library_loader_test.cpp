#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>
#include <vector>

#include "engine/library_loader.hpp"

namespace quillora {
namespace {

TEST(LibraryLoader, FillsTheSlotsOnlyWhenEveryLibraryAndFunctionIsFound)
{
    struct Case {
        std::vector<const char*> libraries;
        std::vector<const char*> functions;
        const char* message;  // nullptr: loads
        const char* library;  // the library the error names
    };
    // libraries, functions -> every slot the function's address, or an error and no slot touched
    const Case cases[] = {
        {{"libglib-2.0.so.0"}, {"g_strdup", "g_free"}, nullptr, ""},
        // A function is looked for in every library, in order.
        {{"libm.so.6", "libglib-2.0.so.0"}, {"g_free", "cos"}, nullptr, ""},
        {{}, {}, nullptr, ""},
        {{"libquillora-absent.so.0"},
         {"g_free"},
         "libquillora-absent.so.0: cannot open shared object file: No such file or directory",
         "libquillora-absent.so.0"},
        // A later library missing: nothing is written although the first one had the function.
        {{"libglib-2.0.so.0", "libquillora-absent.so.0"},
         {"g_free"},
         "libquillora-absent.so.0: cannot open shared object file: No such file or directory",
         "libquillora-absent.so.0"},
        // An older library without a function the program calls.
        {{"libm.so.6", "libglib-2.0.so.0"},
         {"g_free", "quillora_no_such_function"},
         "libglib-2.0.so.0 has no function quillora_no_such_function",
         "libglib-2.0.so.0"},
    };
    static int untouched = 0;
    for (const auto& c : cases) {
        std::vector<void*> slots(c.functions.size(), &untouched);
        std::vector<LibraryFunction> functions;
        for (std::size_t i = 0; i < c.functions.size(); ++i) {
            functions.push_back({c.functions[i], &slots[i]});
        }
        const std::string label = c.libraries.empty() ? "(none)" : c.libraries.back();
        try {
            LoadLibraryFunctions(c.libraries, functions);
            EXPECT_EQ(c.message, nullptr) << label;
            for (std::size_t i = 0; i < slots.size(); ++i) {
                EXPECT_EQ(slots[i], dlsym(RTLD_DEFAULT, c.functions[i])) << c.functions[i];
            }
        } catch (const LibraryLoadError& error) {
            ASSERT_NE(c.message, nullptr) << label << ": " << error.what();
            EXPECT_EQ(std::string(error.what()), c.message);
            EXPECT_EQ(error.Library(), c.library);
            for (void* slot : slots) {
                EXPECT_EQ(slot, &untouched) << label;
            }
        }
    }
}

}  // namespace
}  // namespace quillora
