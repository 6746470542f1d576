#include "text/SharedShapingFaces.h"

#include <fstream>
#include <list>
#include <mutex>
#include <vector>

namespace Orb {

namespace {

struct KeptFace {
  FaceFile file;
  hb_face_t* face;
  std::size_t bytes;
};

class ShapingFaces {
 public:
  ~ShapingFaces() {
    for (const KeptFace& kept : faces) hb_face_destroy(kept.face);
  }

  hb_face_t* find(const FaceFile& file, unsigned glyphCount) {
    const std::lock_guard<std::mutex> hold(lock);
    for (auto kept = faces.begin(); kept != faces.end(); ++kept) {
      if (kept->file == file) {
        faces.splice(faces.begin(), faces, kept);
        return hb_face_reference(kept->face);
      }
    }
    std::size_t bytes = 0;
    hb_face_t* face = read(file, glyphCount, bytes);
    if (face == nullptr) return nullptr;
    faces.push_front(KeptFace{file, face, bytes});
    held += bytes;
    // Renderers using a face dropped here keep it through their own references.
    while (faces.size() > 1 && (faces.size() > kShapingFacesKept || held > kShapingFaceBytesKept)) {
      held -= faces.back().bytes;
      hb_face_destroy(faces.back().face);
      faces.pop_back();
    }
    return hb_face_reference(face);
  }

 private:
  static void freeBytes(void* bytes) { delete static_cast<std::vector<char>*>(bytes); }

  static hb_face_t* read(const FaceFile& file, unsigned glyphCount, std::size_t& bytes) {
    std::ifstream in(file.path, std::ios::binary);
    if (!in || file.size <= 0) return nullptr;
    auto* contents = new std::vector<char>(static_cast<std::size_t>(file.size));
    in.read(contents->data(), file.size);
    const bool whole = in.gcount() == file.size && in.peek() == std::char_traits<char>::eof();
    const std::optional<FaceFile> now = FaceFile::examine(file.path, file.index);
    if (!whole || !now || !(*now == file)) {
      delete contents;
      return nullptr;
    }
    bytes = contents->size();
    hb_blob_t* blob = hb_blob_create(contents->data(), static_cast<unsigned>(contents->size()),
                                     HB_MEMORY_MODE_READONLY, contents, freeBytes);
    hb_face_t* face = hb_face_create(blob, static_cast<unsigned>(file.index));
    hb_blob_destroy(blob);
    if (hb_face_get_glyph_count(face) != glyphCount) {
      hb_face_destroy(face);
      return nullptr;
    }
    hb_face_make_immutable(face);
    return face;
  }

  std::mutex lock;
  std::list<KeptFace> faces;  // most recently asked for first
  std::size_t held = 0;
};

}  // namespace

hb_face_t* sharedShapingFace(const FaceFile& file, unsigned glyphCount) {
  static ShapingFaces faces;
  return faces.find(file, glyphCount);
}

}  // namespace Orb
