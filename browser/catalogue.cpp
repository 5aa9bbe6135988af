#include "catalogue.h"

#include "platform/linefile.h"

#include <limits>

namespace browser {

EntryFields splitEntryLine(std::string_view line)
{
    // Each of the first three fields is the text before the next TAB; when there is
    // no TAB the field is empty and the rest stays whole.
    auto cut = [&line]() {
        const auto tab = line.find('\t');
        if (tab == std::string_view::npos)
            return std::string_view{};
        const auto field = line.substr(0, tab);
        line.remove_prefix(tab + 1);
        return field;
    };
    EntryFields fields;
    fields.id = cut();
    fields.title = cut();
    fields.subfolder = cut();
    fields.author = line;
    return fields;
}

std::int32_t readId(std::string_view text)
{
    size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value < limit) // stop growing once past every 32-bit value
            value = value * 10 + (text[i] - '0');
    if (negative)
        return static_cast<std::int32_t>(value >= limit ? -limit : -value);
    return static_cast<std::int32_t>(value >= limit ? limit - 1 : value);
}

Catalogue::Catalogue(std::string fileBytes) : m_bytes(std::move(fileBytes))
{
    auto text = platform::splitLineViews(m_bytes);
    m_lines = std::move(text.lines);
    m_afterEnd = text.afterEnd;
    if (m_lines.empty())
        return;
    const auto entryLines = static_cast<int>(m_lines.size()) - 1;
    const int entries = entryLines < MaxEntries ? entryLines : MaxEntries;
    m_leftOut = entryLines - entries;
    m_entries.reserve(static_cast<size_t>(entries));
    for (int k = 0; k < entries; ++k) {
        const EntryFields fields = splitEntryLine(m_lines[static_cast<size_t>(k) + 1]);
        m_entries.push_back({readId(fields.id), fields.title, fields.author, fields.subfolder});
    }
}

void Catalogue::replaceLine0(std::string folder)
{
    m_line0 = std::move(folder);
    if (m_lines.empty())
        m_lines.emplace_back();
    m_lines.front() = m_line0;
}

std::string Catalogue::fileText() const
{
    return platform::joinLines(m_lines, m_afterEnd);
}

} // namespace browser
