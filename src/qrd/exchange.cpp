#include "qrd/exchange.h"

#include "document/exact.h"
#include "document/mapcodec.h"

#include <nlohmann/json.hpp>

#include <array>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>

namespace qs::qrd {

namespace {

constexpr std::array<const char*, 8> kFields = {"x", "z", "sizex", "sizez", "bottom", "height", "angle", "colour"};
constexpr const char* kFormat = "quarrystead map";

float* floatfield(Block& b, std::size_t k) {
    float* fields[] = {&b.x, &b.z, &b.sizex, &b.sizez, &b.bottom, &b.height, &b.angle};
    return k < 7 ? fields[k] : nullptr;
}

// A finite value as a JSON number that reads back as the same single
// ("-0.0" rather than "-0", which JSON readers take for the integer 0); any
// other value as its exact text in quotes.
std::string jsonvalue(float v) {
    const std::string t = exacttext(v);
    if (!std::isfinite(v)) return "\"" + t + "\"";
    return t == "-0" ? "-0.0" : t;
}

// Line and column of a byte offset.
TextFault at(const std::string& text, std::size_t offset, std::string what) {
    TextFault f{1, 1, std::move(what)};
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') ++f.line, f.column = 1;
        else ++f.column;
    }
    return f;
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
        if (depth_ == 1 && key_ == "version") return fail("the version is a whole number");
        if (!inrecord()) return value("a number");
        if (field_ == 7) return fail("colour is a whole number");
        return setfloat(s);
    }
    bool string(string_t& s) override {
        number_ = false;
        if (depth_ == 1 && key_ == "format") return s == kFormat || fail("not a map's JSON: format is \"" + s + "\"");
        if (!inrecord()) return value("a text");
        if (field_ == 7) return fail("colour is a whole number");
        return setfloat(s);
    }
    bool binary(binary_t&) override { return value("binary"); }
    bool start_object(std::size_t) override {
        number_ = false;
        ++depth_;
        if (depth_ == 1 || (depth_ == 3 && inrecords_)) {
            if (depth_ == 3) records.emplace_back(), seen_ = 0;
            return true;
        }
        return value("an object");
    }
    bool key(string_t& k) override {
        number_ = false;
        key_ = k;
        if (depth_ == 1) {
            if (k != "format" && k != "version" && k != "records") return fail("unknown key \"" + k + "\"");
            seentop_ |= k == "format" ? 1u : k == "version" ? 2u : 4u;
            return true;
        }
        for (field_ = 0; field_ < kFields.size(); ++field_)
            if (k == kFields[field_]) {
                if (seen_ & (1u << field_)) return fail("\"" + k + "\" given twice");
                seen_ |= 1u << field_;
                return true;
            }
        return fail("unknown field \"" + k + "\"");
    }
    bool end_object() override {
        number_ = false;
        if (depth_ == 3 && seen_ != 0xFF) {
            for (std::size_t k = 0; k < kFields.size(); ++k)
                if (!(seen_ & (1u << k))) return fail(std::string("record lacks \"") + kFields[k] + "\"");
        }
        if (depth_ == 1 && seentop_ != 7) return fail("a map's JSON has \"format\", \"version\" and \"records\"");
        --depth_;
        return true;
    }
    bool start_array(std::size_t) override {
        ++depth_;
        if (depth_ == 2 && key_ == "records") return inrecords_ = true;
        return value("an array");
    }
    bool end_array() override {
        --depth_;
        if (depth_ == 1) inrecords_ = false;
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override {
        // The reader's words without its own "[json.exception...] ... column N: ".
        fault = e.what();
        if (const auto column = fault.find("column "); column != std::string::npos)
            if (const auto colon = fault.find(": ", column); colon != std::string::npos) fault.erase(0, colon + 2);
        faultat = position > 0 ? position - 1 : 0;
        return false;
    }

private:
    bool inrecord() const { return depth_ == 3 && inrecords_; }
    // The reader has taken the value and, after a number, the character
    // that ended it: the fault is placed on the value's last character.
    bool fail(std::string what) {
        fault = std::move(what);
        const std::size_t back = number_ ? 2 : 1;
        faultat = taken_ >= back ? taken_ - back : 0;
        return false;
    }
    bool value(const char* kind) {
        return fail(std::string("unexpected ") + kind + (depth_ == 1 ? " for \"" + key_ + "\"" : ""));
    }
    bool integer(long double v, const std::string& text) {
        if (depth_ == 1 && key_ == "version") return v == 1 || fail("version " + text + " is not known");
        if (!inrecord()) return value("a number");
        if (field_ == 7) {
            if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
                return fail("colour " + text + " is beyond 32 bits");
            records.back().colour = static_cast<std::int32_t>(v);
            return true;
        }
        return setfloat(text);
    }
    bool setfloat(const std::string& text) {
        const auto v = readexact(text);
        if (!v) return fail(std::string(kFields[field_]) + " \"" + text + "\" is not an exact single");
        *floatfield(records.back(), field_) = *v;
        return true;
    }

    const std::size_t& taken_;
    int depth_ = 0;
    bool inrecords_ = false;
    std::string key_;
    std::size_t field_ = 0;
    unsigned seen_ = 0, seentop_ = 0;
    bool number_ = false;
};

} // namespace

std::vector<Block> records(const std::vector<std::byte>& bytes) { return readrecords(bytes); }

std::vector<std::byte> recordbytes(const std::vector<Block>& recs) { return writerecords(recs); }

std::string tojson(const std::vector<Block>& recs) {
    std::string out = std::string("{\"format\": \"") + kFormat + "\", \"version\": 1, \"records\": [";
    for (std::size_t i = 0; i < recs.size(); ++i) {
        Block b = recs[i];
        out += i ? ",\n  {" : "\n  {";
        for (std::size_t k = 0; k < 7; ++k)
            out += std::string("\"") + kFields[k] + "\": " + jsonvalue(*floatfield(b, k)) + ", ";
        out += "\"colour\": " + std::to_string(b.colour) + "}";
    }
    return out + (recs.empty() ? "]}\n" : "\n]}\n");
}

std::string tocsv(const std::vector<Block>& recs) {
    std::string out = "x,z,sizex,sizez,bottom,height,angle,colour\n";
    for (Block b : recs) {
        for (std::size_t k = 0; k < 7; ++k) out += exacttext(*floatfield(b, k)) + ",";
        out += std::to_string(b.colour) + "\n";
    }
    return out;
}

std::optional<std::vector<Block>> fromjson(const std::string& text, TextFault& fault) {
    std::size_t taken = 0;
    Reader reader(taken);
    const Counting first{text.data(), &taken}, last{text.data() + text.size(), &taken};
    if (!nlohmann::json::sax_parse(first, last, &reader) || !reader.fault.empty()) {
        fault = at(text, reader.faultat, reader.fault.empty() ? "not a map's JSON" : reader.fault);
        return std::nullopt;
    }
    return reader.records;
}

std::optional<std::vector<Block>> fromcsv(const std::string& text, TextFault& fault) {
    std::vector<Block> out;
    std::size_t line = 0, start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view row(text.data() + start, end - start);
        if (!row.empty() && row.back() == '\r') row.remove_suffix(1);
        ++line;
        auto bad = [&](std::size_t column, std::string what) {
            fault = {line, column, std::move(what)};
            return std::nullopt;
        };
        if (line == 1) {
            if (row != "x,z,sizex,sizez,bottom,height,angle,colour")
                return bad(1, "the first line names the columns: x,z,sizex,sizez,bottom,height,angle,colour");
        } else if (!row.empty()) {
            Block b;
            std::size_t column = 1, k = 0;
            for (; k < kFields.size(); ++k) {
                const std::size_t comma = row.find(',', column - 1);
                const bool last = k + 1 == kFields.size();
                if (!last && comma == std::string_view::npos) return bad(row.size() + 1, "a record has 8 values");
                const std::string_view cell = row.substr(column - 1, (last ? row.size() : comma) - (column - 1));
                if (last && cell.find(',') != std::string_view::npos)
                    return bad(column + cell.find(','), "a record has 8 values");
                if (k < 7) {
                    const auto v = readexact(cell);
                    if (!v) return bad(column, std::string(kFields[k]) + " is not an exact single");
                    *floatfield(b, k) = *v;
                } else {
                    std::int32_t c = 0;
                    const auto res = std::from_chars(cell.data(), cell.data() + cell.size(), c);
                    if (res.ec != std::errc{} || res.ptr != cell.data() + cell.size())
                        return bad(column, "colour is a whole number of 32 bits");
                    b.colour = c;
                }
                column += cell.size() + 1;
            }
            out.push_back(b);
        }
        start = end + 1;
    }
    if (line == 0) {
        fault = {1, 1, "the first line names the columns: x,z,sizex,sizez,bottom,height,angle,colour"};
        return std::nullopt;
    }
    return out;
}

} // namespace qs::qrd
