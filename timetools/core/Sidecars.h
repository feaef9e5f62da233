#pragma once
// Which file beside a photo or video holds its date, told from the folder's names alone: a photo
// export's JSON (IMG_1234.jpg.json, IMG_1234.jpg.supplemental-metadata.json, names cut to the
// export's 51 characters, copies numbered on the wrong side, edited versions sharing the
// original's), then XMP (photo.jpg.xmp, photo.xmp). A sidecar two files could claim belongs to
// neither.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pw {

enum class SidecarKind : unsigned char { ExportJson, Xmp };

// One sidecar a file could take its date from.
struct SidecarFound {
  SidecarKind Kind = SidecarKind::ExportJson;
  std::wstring Name;                   // as the folder lists it
  std::vector<std::wstring> Claimants;  // when two or more: the files it could belong to, and it is used for none
  friend bool operator==(const SidecarFound&, const SidecarFound&) = default;
};

// The names, in the order tried, an export gives the JSON of a file named `name` ("(1)" copies and
// cut names included), without the forms of the original an edited version falls back to.
std::vector<std::wstring> ExportJsonNames(std::wstring_view name);

bool IsSidecarName(std::wstring_view name);

class FolderSidecars {
public:
  // The names of a folder's files.
  explicit FolderSidecars(const std::vector<std::wstring>& names);

  // The sidecars of the file, JSON first, then XMP; empty when it has none.
  std::vector<SidecarFound> For(std::wstring_view name) const;
  // The files that take their date from the sidecar (or would, but for a rival): empty for an
  // orphan.
  std::vector<std::wstring> Owners(std::wstring_view sidecar) const;

private:
  std::wstring Existing(const std::vector<std::wstring>& candidates) const;
  std::wstring Pick(std::wstring_view name, SidecarKind kind, bool& shared) const;

  std::unordered_map<std::wstring, std::wstring> byKey_;                // caseless key -> name
  std::unordered_map<std::wstring, std::vector<std::wstring>> claims_;  // sidecar key -> files
  std::unordered_map<std::wstring, std::vector<std::wstring>> sharers_;  // edited versions
};

}  // namespace pw
