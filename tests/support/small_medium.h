// A removable medium played by a small tmpfs mounted over a directory in a
// mount namespace of the test's own process (every test runs in a process
// of its own; programs it starts see the medium too), so that a full medium
// is full as the archive sees it: no room left on its file system.
#pragma once
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <string>
#include <vector>

class SmallMedium {
 public:
  // False when the system lets the test make neither a mount namespace nor,
  // unprivileged, a user namespace to make one in.
  bool Mount(const std::string& path, size_t bytes) {
    if (unshare(CLONE_NEWNS) != 0 && !OwnUserNamespace()) return false;
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    const std::string options = "size=" + std::to_string(bytes);
    if (mount("tmpfs", path.c_str(), "tmpfs", 0, options.c_str()) != 0) return false;
    mounted = path;
    return true;
  }
  ~SmallMedium() { Unmount(); }
  void Unmount() {
    if (!mounted.empty()) umount2(mounted.c_str(), MNT_DETACH);
    mounted.clear();
  }
  // Fills what room is left with a file of its own, as other data would;
  // Empty() takes it away again.
  void Fill() {
    int fd = open(Filler().c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0) return;
    std::vector<char> block(4096, 'f');
    for (size_t size = block.size(); size > 0; size /= 2)
      while (write(fd, block.data(), size) == static_cast<ssize_t>(size)) {
      }
    close(fd);
  }
  void Empty() { unlink(Filler().c_str()); }

 private:
  std::string Filler() const { return mounted + "/.filler"; }
  static bool OwnUserNamespace() {
    const uid_t uid = getuid();
    const gid_t gid = getgid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    return WriteProc("/proc/self/setgroups", "deny") &&
           WriteProc("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
           WriteProc("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
  }
  static bool WriteProc(const char* path, const std::string& text) {
    int fd = open(path, O_WRONLY);
    if (fd < 0) return false;
    bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    return ok;
  }
  std::string mounted;
};
