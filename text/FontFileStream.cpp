#include "text/FontFileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>

#include "text/FileBlocks.h"

namespace Orb {

namespace {

struct FileStream {
  explicit FileStream(int file) : descriptor(file), blocks(file) {}
  FT_StreamRec stream{};
  int descriptor;
  FileBlocks blocks;
};

FileStream* fileOf(FT_Stream stream) { return static_cast<FileStream*>(stream->descriptor.pointer); }

// FreeType's read callback; a count of 0 asks only whether `offset` may be reached.
unsigned long readAt(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                     unsigned long count) {
  if (count == 0) return offset > stream->size ? 1 : 0;
  // A short count tells FreeType the file ended early or failed.
  return static_cast<unsigned long>(fileOf(stream)->blocks.read(offset, buffer, count));
}

void closeFile(FT_Stream stream) {
  FileStream* file = fileOf(stream);
  ::close(file->descriptor);
  delete file;
}

}  // namespace

FT_Error openFaceFromFile(FT_Library library, const char* path, FT_Long faceIndex, FT_Face* face) {
  if (!path) return FT_Err_Invalid_Argument;
  const int descriptor = ::open(path, O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return FT_Err_Cannot_Open_Resource;
  struct stat info;
  if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(descriptor);
    return FT_Err_Cannot_Open_Resource;
  }
  auto* file = new (std::nothrow) FileStream(descriptor);
  if (!file) {
    ::close(descriptor);
    return FT_Err_Out_Of_Memory;
  }
  file->stream.size = static_cast<unsigned long>(info.st_size);
  file->stream.descriptor.pointer = file;
  file->stream.read = &readAt;
  file->stream.close = &closeFile;
  FT_Open_Args args{};
  args.flags = FT_OPEN_STREAM;
  args.stream = &file->stream;
  // FreeType closes the stream itself, on failure as well as with the face.
  return FT_Open_Face(library, &args, faceIndex, face);
}

}  // namespace Orb
