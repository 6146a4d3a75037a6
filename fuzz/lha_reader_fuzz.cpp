// LHA archives from outside, walked and extracted member by member into a
// private directory as the installer does, going on after failed members.
// Nothing may land outside the output directory, no output may pass its
// member's size, and a member reported whole must be exactly that size.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <system_error>

#include "installer/arc_manager.h"
#include "platform/files.h"
#include "platform/screen_hook.h"

namespace fs = std::filesystem;

namespace {

constexpr int kMembers = 256;
constexpr uint32_t kLargest = 1u << 20;   // larger members are listed, not written

std::string root;   // the private directory, with a trailing "/"
long reported;

void Quiet(int, const char*, const char*) {}
ScreenHook quietHook;

void RemoveRoot() {
  std::error_code ignored;
  fs::remove_all(root, ignored);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

void OnProgress(void*, long bytes, unsigned char*) { reported += bytes; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (fs::temp_directory_path() / "zelsetup-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  root = pattern + "/";
  std::atexit(RemoveRoot);
  quietHook = *ScreenHookDefault();
  quietHook.messageBox = Quiet;
  ScreenHookSet(&quietHook);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (root.empty()) LLVMFuzzerInitialize(nullptr, nullptr);
  // The output directory lies two levels down, so a name climbing out of it is seen.
  const std::string outDir = root + "a/b/out/";
  std::error_code ignored;
  fs::remove_all(root + "a", ignored);
  fs::create_directories(outDir);
  {
    std::ofstream archive(root + "in.lzh", std::ios::binary | std::ios::trunc);
    archive.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  std::map<std::string, uint64_t> largest;   // member sizes by name; names differing in case are one file
  {
    TArcManager arc;
    arc.archiveName = root + "in.lzh";
    arc.outDir = outDir;
    arc.progress = OnProgress;
    if (arc.ArcSeekOpen()) {
      TArcSeekRec rec;
      int members = 0;
      for (bool more = arc.ArcSeekFirst(&rec); more && members < kMembers; more = arc.ArcSeekNext(&rec), members++) {
        uint64_t& most = largest[Lower(rec.name)];
        if (rec.size > most) most = rec.size;
        if (rec.size > kLargest) continue;
        reported = 0;
        bool whole = arc.ArcExtract(false);
        if (reported != 0 && !whole) std::abort();   // a failed member takes its progress back
        if (reported > long(rec.size)) std::abort();
        // Names that differ only in case are one file, found as the reader finds it.
        if (whole && fs::file_size(PlatResolveName(rec.path.c_str()), ignored) != rec.size) std::abort();
        arc.ArcTestError(arc.ErrorCode());
      }
      arc.ArcSeekClose();
    }
  }
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string path = entry.path().string();
    if (path == root + "in.lzh" || path == root + "a" || path == root + "a/b" || path == root + "a/b/out") continue;
    if (path.rfind(outDir, 0) != 0 || !entry.is_regular_file()) std::abort();
    std::string name = path.substr(outDir.size());
    auto member = largest.find(Lower(name));
    if (member == largest.end() || entry.file_size() > member->second) std::abort();
  }
  return 0;
}
