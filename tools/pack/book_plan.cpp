#include "book_plan.hpp"

#include "common/error.hpp"
#include "menu_check.hpp"
#include "payload/settings_list.hpp"
#include "setting_defaults.hpp"
#include "source_file.hpp"
#include "source_text.hpp"
#include "stored_path.hpp"

namespace quillora::pack {

namespace fs = std::filesystem;

namespace {

// A page that a setting names must travel with the book, but the walk of its folder may have
// left it out (a hidden page, a link that leads outside, a pipe).
void CheckNamedPagesAreCopied(LoadedBook& book)
{
    for (const int index : {setting::home_page, setting::home_button_alt_page}) {
        const auto resolved = ResolvePagePath(book.plan.settings[static_cast<std::size_t>(index)], {});
        const auto* page = std::get_if<ResolvedPage>(&resolved);
        for (const auto& folder : book.plan.page_folders) {
            if (page == nullptr || folder.name != page->folder_name) {
                continue;
            }
            const fs::path file = folder.source / page->file_name;
            const auto why = folder.WhyLeftOut(page->file_name);
            std::error_code error;
            if (why && fs::exists(file, error)) {  // a missing page is reported already
                const int line = book.plan.lines[static_cast<std::size_t>(index)];
                book.diagnostics.Error(book.file, line, SettingSubject(SettingAt(index).name),
                                       "the page " + file.string() + " is left out of the e-book: " + *why +
                                           (line == 0 ? " (the default value)" : ""));
            }
        }
    }
}

}  // namespace

std::string BookPlan::PayloadText() const
{
    SettingsList list;
    for (const auto& value : settings) {
        list.Append(value);
    }
    for (const auto& line : menu) {
        list.Append(line);
    }
    return list.ToText();
}

fs::path SourceFile(const fs::path& source)
{
    std::error_code error;
    if (fs::is_directory(source, error)) {
        return source / SourceFileName;
    }
    return source;
}

LoadedBook CheckBookText(std::string_view text, const std::string& file, const fs::path& folder,
                         const FolderWalkOptions& options)
{
    LoadedBook book;
    book.file = file;
    const auto source = ParseBookSource(text, file, book.diagnostics);
    book.package = source.package;

    SettingValues values;
    for (const auto& entry : source.settings) {
        values.values[static_cast<std::size_t>(entry.index)] = entry.value;
        values.lines[static_cast<std::size_t>(entry.index)] = entry.line;
    }
    DefaultContext context;
    context.has_menu = source.has_menu;
    context.title = values.lines[setting::title] > 0 ? values[setting::title] : DefaultValue(setting::title, context);
    for (int index = 0; index < SettingCount; ++index) {
        if (values.lines[static_cast<std::size_t>(index)] == 0) {
            values.values[static_cast<std::size_t>(index)] = DefaultValue(index, context);
        }
    }

    const fs::path absolute_folder = folder.empty() ? fs::current_path() : fs::absolute(folder);
    const auto folders =
        CheckSettings(values, absolute_folder.lexically_normal(), file, source.has_menu, book.diagnostics);
    CheckMenuDefinition(source.menu, file, book.diagnostics);
    for (const auto& page_folder : folders) {
        book.plan.page_folders.push_back(PlanPageFolder(page_folder, options, book.diagnostics));
    }

    book.plan.settings.assign(values.values.begin(), values.values.end());
    book.plan.lines.assign(values.lines.begin(), values.lines.end());
    for (const auto& line : source.menu) {
        book.plan.menu.push_back(line.text);
        book.plan.lines.push_back(line.line);
    }
    CheckNamedPagesAreCopied(book);
    return book;
}

LoadedBook LoadBook(const fs::path& source, const FolderWalkOptions& options)
{
    const fs::path file = SourceFile(source);
    std::string text;
    try {
        text = ReadSourceFile(file);
    } catch (const quillora::Error& failure) {
        LoadedBook book;
        book.file = file.string();
        book.diagnostics.Error(book.file, 0, "", failure.what());
        return book;
    }
    return CheckBookText(text, file.string(), file.parent_path(), options);
}

}  // namespace quillora::pack
