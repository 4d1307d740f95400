#include "Library.h"

#include <algorithm>
#include <charconv>

#include "AddressArticles.h"
#include "Fingerprints.h"
#include "LibraryError.h"
#include "SqliteLibraryStore.h"
#include "TextCodec.h"
#include "UPlainText.h"

namespace vellora {

Library::Library(std::unique_ptr<LibraryStore> store) : store_(std::move(store)) {}

Library Library::OpenFile(const std::filesystem::path& file, bool create) {
  return Library(std::make_unique<SqliteLibraryStore>(
      file, create ? LibraryOpen::CreateIfMissing : LibraryOpen::MustExist));
}

std::string SourceKey(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (ec) absolute = path;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, ec);
  if (ec) canonical = absolute;
  std::string key = canonical.lexically_normal().string();
  while (key.size() > 1 && key.back() == '/') key.pop_back();
  return key;
}

std::vector<StoredDocument> Library::Documents() {
  return store_->Documents();
}

std::u16string Library::Text(DocumentId id) {
  return FromUtf8(DecompressText(store_->CompressedText(id),
                                 store_->Name() + ", document " + std::to_string(id)));
}

namespace {

std::optional<DocumentId> ParseId(const std::string& item) {
  DocumentId id = 0;
  const char* end = item.data() + item.size();
  const auto [ptr, ec] = std::from_chars(item.data(), end, id);
  if (item.empty() || ec != std::errc() || ptr != end || id <= 0) return std::nullopt;
  return id;
}

bool IsUnder(const std::string& source, const std::string& key) {
  return source == key || (source.size() > key.size() && source.starts_with(key) &&
                           (key == "/" || source[key.size()] == '/'));
}

}  // namespace

RemoveReport Library::Remove(const std::vector<std::string>& idsOrPaths) {
  RemoveReport report;
  const std::vector<StoredDocument> documents = store_->Documents();
  std::vector<const StoredDocument*> chosen;
  for (const std::string& item : idsOrPaths) {
    std::size_t found = 0;
    const std::optional<DocumentId> id = ParseId(item);
    // A name made of digits is an id when such a document exists, a path otherwise.
    for (const StoredDocument& doc : documents) {
      if (id && doc.Id == *id) {
        chosen.push_back(&doc);
        ++found;
      }
    }
    if (found == 0) {
      const std::string key = IsPageAddress(item) ? item : SourceKey(item);
      for (const StoredDocument& doc : documents) {
        if (IsUnder(doc.Source, key)) {
          chosen.push_back(&doc);
          ++found;
        }
      }
    }
    if (found == 0) {
      report.NotFound.push_back(id ? "no document with id " + item + " or from \"" + item + "\""
                                   : "no document from \"" + item + "\" in the library");
    }
  }
  std::sort(chosen.begin(), chosen.end());
  chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
  StoreBatch batch;
  for (const StoredDocument* doc : chosen) {
    batch.Removals.push_back(RemovedDocument{doc->Id, TextFingerprints(Text(doc->Id))});
    report.Removed.push_back(*doc);
  }
  if (!batch.Removals.empty()) store_->Apply(batch);
  return report;
}

}  // namespace vellora
