#include "results/distinct_names.h"

#include <map>
#include <set>

namespace {

std::vector<std::string> PathParts(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path + '/') {
    if (c != '/') {
      part += c;
    } else if (!part.empty()) {
      parts.push_back(part);
      part.clear();
    }
  }
  return parts;
}

std::string LastParts(const std::vector<std::string>& parts, std::size_t depth) {
  std::string tail;
  for (std::size_t i = parts.size() - std::min(depth, parts.size()); i < parts.size(); ++i)
    tail += parts[i] + (i + 1 < parts.size() ? "/" : "");
  return tail;
}

}  // namespace

std::vector<std::string> DistinctNames(const std::vector<std::string>& paths) {
  std::vector<std::vector<std::string>> parts;
  for (const std::string& path : paths) parts.push_back(PathParts(path));
  std::vector<std::size_t> depth(paths.size(), 1);
  // Names that two different paths share take one folder more, until none is shared; each
  // round lengthens at least one name, and no name grows past its whole path.
  for (bool lengthened = true; lengthened;) {
    lengthened = false;
    std::map<std::string, std::set<std::size_t>> holders;
    for (std::size_t i = 0; i < paths.size(); ++i) holders[LastParts(parts[i], depth[i])].insert(i);
    for (const auto& [name, indices] : holders) {
      std::set<std::string> different;
      for (std::size_t i : indices) different.insert(paths[i]);
      if (different.size() < 2) continue;
      for (std::size_t i : indices) {
        if (depth[i] >= parts[i].size()) continue;
        ++depth[i];
        lengthened = true;
      }
    }
  }
  std::vector<std::string> names;
  for (std::size_t i = 0; i < paths.size(); ++i) names.push_back(LastParts(parts[i], depth[i]));
  return names;
}
