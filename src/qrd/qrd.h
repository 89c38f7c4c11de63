#pragma once
// qrd: map files from the command line.
#include "document/mapreport.h"

#include <cstdint>
#include <iosfwd>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace qs::qrd {

// Exit statuses: all well, a check found problems (or maps differ), bad
// usage or a file that cannot be read.
inline constexpr int kOk = 0;
inline constexpr int kProblems = 1;
inline constexpr int kFailure = 2;

// Reads the records of a map file that the editor takes, the first 1000,
// and the file's whole size; on failure says why on `err` as "FILE: reason".
bool load(const std::string& path, std::vector<std::byte>& bytes, std::uint64_t& size,
          std::ostream& err);

int info(const std::vector<std::string>& files, bool json, std::ostream& out, std::ostream& err);
int check(const std::vector<std::string>& files, std::ostream& out, std::ostream& err);
int dump(const std::string& file, std::ostream& out, std::ostream& err);
int diff(const std::string& a, const std::string& b, std::ostream& out, std::ostream& err);

// Every record of a map file as JSON or CSV, to `to` (standard output when
// empty or "-"), and back into a map file, which is replaced only when
// complete.
// As gltf, glb or obj: the blocks drawn within the depth window (every
// drawn block without one) as boxes.
struct Depth {
    float mind = -std::numeric_limits<float>::infinity(),
          maxd = std::numeric_limits<float>::infinity();
};
int exportmap(const std::string& file, const std::string& format, const std::string& to,
              std::ostream& out, std::ostream& err,
              const std::optional<Depth>& depth = std::nullopt);
int importmap(const std::string& from, const std::string& format, const std::string& to,
              std::ostream& err);

} // namespace qs::qrd
