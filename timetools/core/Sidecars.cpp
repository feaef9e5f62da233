#include "timetools/core/Sidecars.h"

#include <algorithm>

#include "common/core/PathRules.h"

namespace pw {
namespace {

// The export cuts a JSON's name to 51 characters with ".json": 46 of the rest.
constexpr std::size_t kExportNameLimit = 46;
constexpr std::wstring_view kSupplemental = L".supplemental-metadata";
constexpr std::wstring_view kEdited = L"-edited";

bool EndsWithCaseless(std::wstring_view text, std::wstring_view tail) {
  return text.size() >= tail.size() && PathKey(text.substr(text.size() - tail.size())) == PathKey(tail);
}

struct NameParts {
  std::wstring_view Stem, Extension;  // the extension with its dot
};
NameParts Split(std::wstring_view name) {
  const std::size_t dot = name.rfind(L'.');
  if (dot == name.npos || dot == 0) return {name, {}};
  return {name.substr(0, dot), name.substr(dot)};
}

// "IMG_1234(1)" -> "IMG_1234" and "(1)"; nothing taken off a stem without a counter.
std::wstring_view Counter(std::wstring_view stem) {
  if (stem.size() < 3 || stem.back() != L')') return {};
  const std::size_t open = stem.rfind(L'(');
  if (open == stem.npos || open == 0 || open + 2 >= stem.size()) return {};
  for (std::size_t i = open + 1; i + 1 < stem.size(); ++i)
    if (stem[i] < L'0' || stem[i] > L'9') return {};
  return stem.substr(open);
}

void AddCut(std::vector<std::wstring>& names, std::wstring_view base, std::wstring_view counter) {
  for (const std::wstring& full : {std::wstring(base) + std::wstring(kSupplemental), std::wstring(base)}) {
    std::wstring name = full.substr(0, kExportNameLimit) + std::wstring(counter) + L".json";
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
  }
}

}  // namespace

std::vector<std::wstring> ExportJsonNames(std::wstring_view name) {
  std::vector<std::wstring> names;
  AddCut(names, name, {});
  // A copy "IMG_1234(1).jpg" has its counter after the photo's extension: "IMG_1234.jpg(1).json".
  const NameParts parts = Split(name);
  if (const std::wstring_view counter = Counter(parts.Stem); !counter.empty())
    AddCut(names, std::wstring(parts.Stem.substr(0, parts.Stem.size() - counter.size())) + std::wstring(parts.Extension),
           counter);
  return names;
}

bool IsSidecarName(std::wstring_view name) { return EndsWithCaseless(name, L".json") || EndsWithCaseless(name, L".xmp"); }

FolderSidecars::FolderSidecars(const std::vector<std::wstring>& names) {
  for (const std::wstring& name : names) byKey_.emplace(PathKey(name), name);
  for (const std::wstring& name : names) {
    if (IsSidecarName(name)) continue;
    for (const SidecarKind kind : {SidecarKind::ExportJson, SidecarKind::Xmp}) {
      bool shared = false;
      const std::wstring sidecar = Pick(name, kind, shared);
      if (!sidecar.empty()) (shared ? sharers_ : claims_)[PathKey(sidecar)].push_back(name);
    }
  }
}

std::wstring FolderSidecars::Existing(const std::vector<std::wstring>& candidates) const {
  for (const std::wstring& candidate : candidates)
    if (const auto found = byKey_.find(PathKey(candidate)); found != byKey_.end()) return found->second;
  return {};
}

std::wstring FolderSidecars::Pick(std::wstring_view name, SidecarKind kind, bool& shared) const {
  shared = false;
  if (kind == SidecarKind::Xmp)
    return Existing({std::wstring(name) + L".xmp", std::wstring(Split(name).Stem) + L".xmp"});
  if (std::wstring own = Existing(ExportJsonNames(name)); !own.empty()) return own;
  // An edited version has no JSON of its own: it shares the original's.
  const NameParts parts = Split(name);
  if (!EndsWithCaseless(parts.Stem, kEdited)) return {};
  shared = true;
  return Existing(ExportJsonNames(std::wstring(parts.Stem.substr(0, parts.Stem.size() - kEdited.size())) +
                                  std::wstring(parts.Extension)));
}

std::vector<SidecarFound> FolderSidecars::For(std::wstring_view name) const {
  std::vector<SidecarFound> found;
  if (IsSidecarName(name)) return found;
  for (const SidecarKind kind : {SidecarKind::ExportJson, SidecarKind::Xmp}) {
    bool shared = false;
    std::wstring sidecar = Pick(name, kind, shared);
    if (sidecar.empty()) continue;
    SidecarFound one{kind, std::move(sidecar), {}};
    if (const auto claims = claims_.find(PathKey(one.Name)); claims != claims_.end() && claims->second.size() > 1)
      one.Claimants = claims->second;
    found.push_back(std::move(one));
  }
  return found;
}

std::vector<std::wstring> FolderSidecars::Owners(std::wstring_view sidecar) const {
  std::vector<std::wstring> owners;
  const std::wstring key = PathKey(sidecar);
  for (const auto* table : {&claims_, &sharers_})
    if (const auto found = table->find(key); found != table->end())
      owners.insert(owners.end(), found->second.begin(), found->second.end());
  return owners;
}

}  // namespace pw
