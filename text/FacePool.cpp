#include "text/FacePool.h"

#include <algorithm>

#include "text/FontFileStream.h"
#include "text/FontRecord.h"

namespace Orb {

std::shared_ptr<SharedFace> FacePool::find(const std::string& path, const FontData* data,
                                           FT_Long index) {
  if (!sharing) return nullptr;
  for (Entry& entry : entries) {
    if (entry.index == index && entry.data == data && entry.path == path) {
      entry.lastUse = ++uses;
      return entry.face;
    }
  }
  return nullptr;
}

std::shared_ptr<SharedFace> FacePool::keep(Entry entry) {
  std::shared_ptr<SharedFace> face = entry.face;
  if (!sharing) return face;
  entry.lastUse = ++uses;
  entries.push_back(std::move(entry));
  closeIdleBeyondLimit();
  return face;
}

std::shared_ptr<SharedFace> FacePool::openFile(FT_Library library, const std::string& path,
                                               FT_Long index) {
  if (auto face = find(path, nullptr, index)) return face;
  // Examined before it is opened: should it be replaced in between, the face shows the new
  // file under the old identity, and whoever shares by identity finds a mismatch.
  std::optional<FaceFile> file = FaceFile::examine(path, index);
  FT_Face face = nullptr;
  if (openFaceFromFile(library, path.c_str(), index, &face) != 0) return nullptr;
  return keep(Entry{path, nullptr, index, 0,
                    std::make_shared<SharedFace>(face, nullptr, ++serials, std::move(file))});
}

std::shared_ptr<SharedFace> FacePool::openMemory(FT_Library library,
                                                 const std::shared_ptr<const FontData>& data,
                                                 FT_Long index) {
  if (auto face = find(std::string(), data.get(), index)) return face;
  FT_Face face = nullptr;
  if (FT_New_Memory_Face(library, data->bytes.data(), static_cast<FT_Long>(data->bytes.size()),
                         index, &face) != 0) {
    return nullptr;
  }
  return keep(Entry{std::string(), data.get(), index, 0,
                    std::make_shared<SharedFace>(face, data, ++serials)});
}

void FacePool::reset(bool share) {
  sharing = share;
  entries.clear();
}

void FacePool::closeIdleBeyondLimit() {
  // A face only the pool holds is idle; the oldest idle ones go first.
  std::vector<std::size_t> idle;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].face.use_count() == 1) idle.push_back(i);
  }
  if (idle.size() <= kIdleFaces) return;
  std::sort(idle.begin(), idle.end(), [&](std::size_t a, std::size_t b) {
    return entries[a].lastUse < entries[b].lastUse;
  });
  idle.resize(idle.size() - kIdleFaces);
  std::sort(idle.rbegin(), idle.rend());
  for (std::size_t i : idle) entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
}

}  // namespace Orb
