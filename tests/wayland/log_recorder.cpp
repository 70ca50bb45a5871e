#include "log_recorder.hpp"

namespace quillora::test {

namespace {

GLogWriterOutput Record(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer data)
{
    LogRecord record{.domain = "", .level = level, .message = ""};
    for (gsize i = 0; i < count; ++i) {
        const std::string key = fields[i].key;
        const auto text = [&] {
            const auto* value = static_cast<const char*>(fields[i].value);
            return fields[i].length < 0 ? std::string(value) : std::string(value, fields[i].length);
        };
        if (key == "GLIB_DOMAIN") record.domain = text();
        if (key == "MESSAGE") record.message = text();
    }
    LogRecorder::Records().push_back(record);
    return g_log_writer_default(level, fields, count, data);
}

}  // namespace

void LogRecorder::Install()
{
    g_log_set_writer_func(Record, nullptr, nullptr);
}

std::vector<LogRecord>& LogRecorder::Records()
{
    static std::vector<LogRecord> records;
    return records;
}

std::vector<LogRecord> LogRecorder::Faults(std::size_t from)
{
    std::vector<LogRecord> faults;
    const auto& records = Records();
    for (std::size_t i = from; i < records.size(); ++i) {
        const LogRecord& record = records[i];
        const bool critical = (record.level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_ERROR)) != 0;
        const bool own_warning = (record.level & G_LOG_LEVEL_WARNING) != 0 && record.domain.empty();
        if (critical || own_warning) faults.push_back(record);
    }
    return faults;
}

}  // namespace quillora::test
