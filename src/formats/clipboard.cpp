#include "formats/clipboard.h"

#include "document/mapcodec.h"

namespace qs::formats {

std::string torecords(std::span<const Block> blocks) {
    const std::vector<std::byte> bytes = writerecords(blocks);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::optional<std::vector<Block>> frompaste(std::string_view records, std::string_view text,
                                            TextFault& fault) {
    std::optional<std::vector<Block>> blocks;
    if (!records.empty()) {
        if (records.size() % kRecordBytes != 0) {
            fault = {0, 0, "the blocks on the clipboard are cut short"};
            return std::nullopt;
        }
        blocks.emplace();
        for (std::size_t at = 0; at < records.size(); at += kRecordBytes)
            blocks->push_back(
                decoderecord(reinterpret_cast<const std::byte*>(records.data() + at)));
    } else {
        blocks = fromtext(text, fault);
        if (!blocks) return std::nullopt;
    }
    if (blocks->empty()) {
        fault = {0, 0, "no blocks"};
        return std::nullopt;
    }
    // A block with neither size above 0 would end the list, and one with a
    // size of 0 a save: the blocks after either would be lost from view or
    // from the file.
    for (std::size_t i = 0; i < blocks->size(); ++i)
        if (endslistedrun((*blocks)[i]) || !continuessavedrun((*blocks)[i])) {
            fault = {0, 0,
                     "block " + std::to_string(i + 1) +
                         " needs sizes that are not 0, one of them above 0"};
            return std::nullopt;
        }
    return blocks;
}

} // namespace qs::formats
