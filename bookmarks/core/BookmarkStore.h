#pragma once
// Where the bookmark list keeps its paths: numbered text values (0 to 7) under one key. The key is
// opened for one load or one save and closed when the opened object goes, so no handle stays open
// between them.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pw {

// The values of one opened key.
class BookmarkValues {
public:
  virtual ~BookmarkValues() = default;
  // Nothing when the value is missing or cannot be read as a path; an empty text is a value.
  virtual std::optional<std::wstring> Read(int number) = 0;
  virtual bool Write(int number, std::wstring_view path) = 0;
  // A value that is not there is no failure worth reporting: the caller ignores the outcome.
  virtual void Delete(int number) = 0;
};

class BookmarkStore {
public:
  virtual ~BookmarkStore() = default;
  // Null when the key does not exist or cannot be opened.
  virtual std::unique_ptr<BookmarkValues> OpenForReading() = 0;
  // Creates the key when it is missing; null when it can be neither created nor opened.
  virtual std::unique_ptr<BookmarkValues> OpenForWriting() = 0;
};

}  // namespace pw
