#include "formats/text.h"

#include "document/exact.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

namespace qs::formats {

namespace {

constexpr const char* kFormat = "quarrystead map";
constexpr const char* kColumns = "x, z, sizex, sizez, bottom, height, angle, colour";

float* floatfield(Block& b, std::size_t k) {
    const std::array fields{&b.x, &b.z, &b.sizex, &b.sizez, &b.bottom, &b.height, &b.angle};
    return k < fields.size() ? fields[k] : nullptr;
}
float floatvalue(const Block& b, std::size_t k) {
    const float fields[] = {b.x, b.z, b.sizex, b.sizez, b.bottom, b.height, b.angle};
    return fields[k];
}

void append(std::string& out, float v, bool json) {
    char buf[32];
    const std::size_t n = exactchars(buf, v);
    // JSON readers take "-0" for the integer 0; other values than numbers
    // are texts there.
    if (json && !std::isfinite(v))
        out.append("\"").append(buf, n).append("\"");
    else if (json && n == 2 && buf[0] == '-' && buf[1] == '0')
        out.append("-0.0");
    else
        out.append(buf, n);
}

// Why a text is not a single's exact text.
std::string notsingle(std::string_view text) {
    double v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (end == text.data() + text.size() &&
        (error == std::errc::result_out_of_range || std::isfinite(v)))
        return "is beyond the range of a single";
    return "is not a number";
}

void append(std::string& out, std::int32_t v) {
    char buf[16];
    out.append(buf, static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, v).ptr - buf));
}

} // namespace

std::string jsonhead() {
    return std::string("{\"format\": \"") + kFormat + "\", \"version\": 1, \"records\": [";
}

void jsonrecord(std::string& out, const Block& b, bool first) {
    static constexpr std::string_view keys[] = {
        "\"x\": ",      "\"z\": ",      "\"sizex\": ", "\"sizez\": ",
        "\"bottom\": ", "\"height\": ", "\"angle\": "};
    out += first ? "\n  {" : ",\n  {";
    for (std::size_t k = 0; k < 7; ++k) {
        out += keys[k];
        append(out, floatvalue(b, k), true);
        out += ", ";
    }
    out += "\"colour\": ";
    append(out, b.colour);
    out += '}';
}

std::string jsontail(bool empty) {
    return empty ? "]}\n" : "\n]}\n";
}

std::string tojson(std::span<const Block> records) {
    std::string out = jsonhead();
    for (std::size_t i = 0; i < records.size(); ++i)
        jsonrecord(out, records[i], i == 0);
    return out + jsontail(records.empty());
}

std::string tableheader(char separator) {
    std::string out;
    for (const char* name : kFieldNames)
        out += (out.empty() ? "" : std::string(1, separator)) + name;
    return out + "\n";
}

void tablerow(std::string& out, const Block& b, char separator) {
    for (std::size_t k = 0; k < 7; ++k) {
        append(out, floatvalue(b, k), false);
        out += separator;
    }
    append(out, b.colour);
    out += '\n';
}

std::string totable(std::span<const Block> records, char separator) {
    std::string out = tableheader(separator);
    for (const Block& b : records)
        tablerow(out, b, separator);
    return out;
}

namespace {

// Line and column of a byte offset.
TextFault at(std::string_view text, std::size_t offset, std::string what) {
    TextFault f{1, 1, std::move(what)};
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n')
            ++f.line, f.column = 1;
        else
            ++f.column;
    }
    return f;
}

// The JSON reader's complaint as a sentence: "found ',' where a name in
// quotes should be".
std::string sentence(const std::string& said) {
    const auto token = [](std::string t) -> std::string {
        static const std::pair<const char*, const char*> names[] = {
            {"string literal", "a name or text in quotes"},
            {"number literal", "a number"},
            {"end of input", "the end of the text"},
            {"'[', '{', or a literal", "a value"},
            {"true literal", "true"},
            {"false literal", "false"},
            {"null literal", "null"}};
        for (const auto& [from, to] : names)
            if (t == from) return to;
        return t;
    };
    const auto dash = said.find(" - ");
    std::string detail = dash == std::string::npos ? said : said.substr(dash + 3);
    if (detail.starts_with("unexpected ")) {
        const auto semicolon = detail.find("; expected ");
        const std::string found = token(detail.substr(11, semicolon - 11));
        if (semicolon == std::string::npos) return "found " + found + " here";
        return "found " + found + " where " + token(detail.substr(semicolon + 11)) + " should be";
    }
    if (detail.starts_with("invalid literal"))
        return "found a word that is not JSON (only true, false and null are)";
    if (detail.starts_with("invalid string"))
        return "found a text in quotes that is not closed or holds a raw control character";
    if (detail.starts_with("invalid number"))
        return "found a number that is not written as JSON writes numbers";
    // Anything else, without the raw bytes the reader quotes after it.
    return detail.substr(0, detail.find("; last read"));
}

// An iterator over the text that counts what the JSON reader has taken, so
// a fault found in a value can be placed.
struct Counting {
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;
    const char* p;
    std::size_t* taken;
    reference operator*() const { return *p; }
    Counting& operator++() {
        ++p;
        ++*taken;
        return *this;
    }
    Counting operator++(int) {
        Counting old = *this;
        ++*this;
        return old;
    }
    bool operator==(const Counting& o) const { return p == o.p; }
};

class Reader : public nlohmann::json::json_sax_t {
  public:
    explicit Reader(const std::size_t& taken) : taken_(taken) {}
    std::vector<Block> records;
    std::string fault;
    std::size_t faultat = 0;

    bool null() override {
        number_ = false;
        return value("null");
    }
    bool boolean(bool) override {
        number_ = false;
        return value("true or false");
    }
    bool number_integer(number_integer_t v) override {
        number_ = true;
        return integer(static_cast<long double>(v), std::to_string(v));
    }
    bool number_unsigned(number_unsigned_t v) override {
        number_ = true;
        return integer(static_cast<long double>(v), std::to_string(v));
    }
    bool number_float(number_float_t, const string_t& s) override {
        number_ = true;
        if (depth_ == 1 && key_ == "version")
            return fail("the version is a whole number, not " + s);
        if (!inrecord()) return value("a number");
        if (field_ == 7) return fail("colour " + s + " is not a whole number");
        return setfloat(s);
    }
    bool string(string_t& s) override {
        number_ = false;
        if (depth_ == 1 && key_ == "format")
            return s == kFormat || fail("not a map's JSON: format is \"" + s + "\"");
        if (!inrecord()) return value("a text");
        if (field_ == 7) return fail("colour \"" + s + "\" is not a whole number");
        return setfloat(s);
    }
    bool binary(binary_t&) override { return value("binary"); }
    bool start_object(std::size_t) override {
        number_ = false;
        // The whole text, or a record; anything else is named by its key.
        if (depth_ != 0 && depth_ != 2) return value("an object");
        if (++depth_ == 3) records.emplace_back(), seen_ = 0;
        return true;
    }
    bool key(string_t& k) override {
        number_ = false;
        key_ = k;
        if (depth_ == 1) {
            if (k != "format" && k != "version" && k != "records")
                return fail("unknown key \"" + k + "\"");
            seentop_ |= k == "format" ? 1u : k == "version" ? 2u : 4u;
            return true;
        }
        for (field_ = 0; field_ < 8; ++field_)
            if (k == kFieldNames[field_]) {
                if (seen_ & (1u << field_)) return fail("\"" + k + "\" given twice");
                seen_ |= 1u << field_;
                return true;
            }
        return fail("unknown field \"" + k + "\"");
    }
    bool end_object() override {
        number_ = false;
        if (depth_ == 3 && seen_ != 0xFF)
            return fail(std::string("record lacks \"") + kFieldNames[std::countr_one(seen_)] +
                        "\"");
        if (depth_ == 1 && seentop_ != 7)
            return fail("a map's JSON has \"format\", \"version\" and \"records\"");
        --depth_;
        return true;
    }
    bool start_array(std::size_t) override {
        if (depth_ != 1 || key_ != "records") return value("an array");
        ++depth_;
        return true;
    }
    bool end_array() override {
        --depth_;
        return true;
    }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& e) override {
        // The reader's words without its own "[json.exception...] ... column N: ".
        fault = e.what();
        if (const auto column = fault.find("column "); column != std::string::npos)
            if (const auto colon = fault.find(": ", column); colon != std::string::npos)
                fault.erase(0, colon + 2);
        fault = sentence(fault);
        faultat = position > 0 ? position - 1 : 0;
        return false;
    }

  private:
    // Arrays are taken only for "records", objects only at the top and in
    // it: the third level is a record.
    bool inrecord() const { return depth_ == 3; }
    // The reader has taken the value and, after a number, the character
    // that ended it: the fault is placed on the value's last character.
    bool fail(std::string what) {
        fault = std::move(what);
        const std::size_t back = number_ ? 2 : 1;
        faultat = taken_ >= back ? taken_ - back : 0;
        return false;
    }
    bool value(const char* kind) {
        return fail(std::string("unexpected ") + kind +
                    (depth_ == 1 ? " for \"" + key_ + "\"" : ""));
    }
    bool integer(long double v, const std::string& text) {
        if (depth_ == 1 && key_ == "version")
            return v == 1 || fail("version " + text + " is not known");
        if (!inrecord()) return value("a number");
        if (field_ == 7) {
            if (v < std::numeric_limits<std::int32_t>::min() ||
                v > std::numeric_limits<std::int32_t>::max())
                return fail("colour " + text + " is beyond 32 bits");
            records.back().colour = static_cast<std::int32_t>(v);
            return true;
        }
        return setfloat(text);
    }
    bool setfloat(const std::string& text) {
        const auto v = readexact(text);
        if (!v)
            return fail(std::string(kFieldNames[field_]) + " \"" + text + "\" " + notsingle(text));
        *floatfield(records.back(), field_) = *v;
        return true;
    }

    const std::size_t& taken_;
    int depth_ = 0;
    std::string key_;
    std::size_t field_ = 0;
    unsigned seen_ = 0, seentop_ = 0;
    bool number_ = false;
};

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// A column's name as a header may write it: "Size X", "size_x", "SizeX".
std::string normalname(std::string_view name) {
    std::string out;
    for (char c : name)
        if (c != ' ' && c != '_' && c != '-')
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out == "color" ? "colour" : out;
}

std::optional<std::int32_t> colourof(std::string_view cell, std::string& why) {
    const bool hex = cell.starts_with("0x") || cell.starts_with("0X");
    std::int64_t v = 0;
    const char* from = cell.data() + (hex ? 2 : 0);
    const auto [end, error] = std::from_chars(from, cell.data() + cell.size(), v, hex ? 16 : 10);
    if (end != cell.data() + cell.size() ||
        (error != std::errc{} && error != std::errc::result_out_of_range)) {
        why = "is not a whole number";
        return std::nullopt;
    }
    if (hex && error == std::errc{} && v >= 0 && v <= 0xFFFFFFFFll)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    if (error != std::errc{} || v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max()) {
        why = "is beyond 32 bits";
        return std::nullopt;
    }
    return static_cast<std::int32_t>(v);
}

} // namespace

std::optional<std::vector<Block>> fromjson(std::string_view text, TextFault& fault) {
    std::size_t taken = 0;
    Reader reader(taken);
    const Counting first{text.data(), &taken}, last{text.data() + text.size(), &taken};
    if (!nlohmann::json::sax_parse(first, last, &reader) || !reader.fault.empty()) {
        fault = at(text, reader.faultat, reader.fault.empty() ? "not a map's JSON" : reader.fault);
        return std::nullopt;
    }
    return reader.records;
}

std::optional<std::vector<Block>> fromtable(std::string_view text, TextFault& fault) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3); // a spreadsheet's mark of UTF-8
    std::vector<Block> out;
    std::vector<int> columns; // the field of each column
    char separator = ',';
    std::size_t line = 0, start = 0;
    auto bad = [&](std::size_t column, std::string what) {
        fault = {line, column, std::move(what)};
        return std::nullopt;
    };
    while (start <= text.size() && (start < text.size() || line == 0)) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view row = text.substr(start, end - start);
        start = end + 1;
        ++line;
        if (line > 1 && std::all_of(row.begin(), row.end(), blank)) continue;
        // Each cell, from the character after the last separator.
        std::vector<std::pair<std::size_t, std::string_view>> cells;
        if (line == 1) separator = row.find('\t') != std::string_view::npos ? '\t' : ',';
        for (std::size_t from = 0;;) {
            const std::size_t stop = std::min(row.find(separator, from), row.size());
            std::size_t a = from, b = stop;
            while (a < b && blank(row[a]))
                ++a;
            while (b > a && blank(row[b - 1]))
                --b;
            cells.push_back({a + 1, row.substr(a, b - a)});
            if (stop == row.size()) break;
            from = stop + 1;
        }
        if (line == 1) {
            for (const auto& [column, cell] : cells) {
                const std::string name = normalname(cell);
                const auto it = std::find(std::begin(kFieldNames), std::end(kFieldNames), name);
                if (it == std::end(kFieldNames)) {
                    if (cell.empty() || std::isdigit(static_cast<unsigned char>(cell[0])) ||
                        cell[0] == '-')
                        return bad(column, std::string("the first line names the columns (") +
                                               kColumns + ")");
                    return bad(column, "unknown column \"" + std::string(cell) +
                                           "\"; the columns are " + kColumns);
                }
                const int field = static_cast<int>(it - std::begin(kFieldNames));
                if (std::find(columns.begin(), columns.end(), field) != columns.end())
                    return bad(column, "column " + name + " is named twice");
                columns.push_back(field);
            }
            continue;
        }
        if (cells.size() > columns.size())
            return bad(cells[columns.size()].first,
                       "a row has " + std::to_string(cells.size()) + " values; the header names " +
                           std::to_string(columns.size()) + " columns");
        Block b;
        for (std::size_t k = 0; k < cells.size(); ++k) {
            const auto& [column, cell] = cells[k];
            if (cell.empty()) continue;
            const auto field = static_cast<std::size_t>(columns[k]);
            const std::string name = kFieldNames[field];
            if (field == 7) {
                std::string why;
                const auto colour = colourof(cell, why);
                if (!colour) return bad(column, name + " \"" + std::string(cell) + "\" " + why);
                b.colour = *colour;
                continue;
            }
            const auto v = readexact(cell);
            if (!v) return bad(column, name + " \"" + std::string(cell) + "\" " + notsingle(cell));
            *floatfield(b, field) = *v;
        }
        out.push_back(b);
    }
    return out;
}

std::optional<std::vector<Block>> fromtext(std::string_view text, TextFault& fault) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && text[first] == '{') return fromjson(text, fault);
    return fromtable(text, fault);
}

} // namespace qs::formats
