// The floor for a small request: the same work on the same files with the
// fewest system calls a plain static C program needs, and nothing else.
//
//   floor CONFIG RULES SOUNDS_DIR WAV PAGE LOG PROMPT...
//
// Reads the configuration, the local time zone (for the records' stamps), the
// rules and the prompts; looks at SOUNDS_DIR/sounds.dat at start-up and
// rewrites its first line in place under SOUNDS_DIR/sounds.dat.lock; writes
// the WAV and the page under random temporary names and renames them into
// place (the old name removed first); appends six records to LOG; looks at
// the sweep stamp; and echoes the arguments and records on standard output
// in one write, as a request must.
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

enum { kMaxAudio = 10000000 };

static char audio[58 + kMaxAudio];

static void fail(const char* what) {
  perror(what);
  exit(1);
}

static size_t read_whole(const char* path, char* buf, size_t cap) {
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) fail(path);
  struct stat st;
  if (fstat(fd, &st) != 0 || (size_t)st.st_size > cap) fail(path);
  ssize_t n = read(fd, buf, (size_t)st.st_size);
  if (n < 0) fail(path);
  close(fd);
  return (size_t)n;
}

static void replace(const char* dir, const char* path, const char* data, size_t size) {
  unsigned long long random;
  if (getrandom(&random, sizeof random, 0) != sizeof random) fail("getrandom");
  char temp[4096];
  snprintf(temp, sizeof temp, "%s/.tmp-%016llx", dir, random);
  int fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0 || write(fd, data, size) != (ssize_t)size || close(fd) != 0) fail(temp);
  unlink(path);
  if (rename(temp, path) != 0) fail(path);
}

int main(int argc, char** argv) {
  if (argc < 8) {
    fprintf(stderr, "usage: floor CONFIG RULES SOUNDS_DIR WAV PAGE LOG PROMPT...\n");
    return 2;
  }
  static char text[1 << 20];
  read_whole(argv[1], text, sizeof text);
  time_t now = time(NULL);
  struct tm local;
  if (localtime_r(&now, &local) == NULL) fail("localtime_r");
  char stamp[64];
  strftime(stamp, sizeof stamp, "%Y/%m/%d %H:%M:%S", &local);
  int log = open(argv[6], O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (log < 0) fail(argv[6]);
  char path[4096];
  snprintf(path, sizeof path, "%s/sounds.dat", argv[3]);
  struct stat st;
  int look = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (look < 0 || fstat(look, &st) != 0) fail(path);
  close(look);
  read_whole(argv[2], text, sizeof text);

  size_t fill = 0;
  for (int i = 7; i < argc; ++i) {
    fill += read_whole(argv[i], audio + 58 + fill, kMaxAudio - fill);
    fill -= fill < 150 ? fill : 150;
  }

  snprintf(path, sizeof path, "%s/sounds.dat.lock", argv[3]);
  int lock = open(path, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (lock < 0 || flock(lock, LOCK_EX) != 0) fail(path);
  snprintf(path, sizeof path, "%s/sounds.dat", argv[3]);
  int schedule = open(path, O_RDWR | O_CLOEXEC);
  static char lines[1 << 17];
  if (schedule < 0 || read(schedule, lines, sizeof lines) < 11) fail(path);
  if (pwrite(schedule, lines, 11, 0) != 11) fail(path);
  close(schedule);
  close(lock);

  // The header's fields do not matter to the cost; its size does.
  memcpy(audio, "RIFF", 4);
  replace(argv[3], argv[4], audio, 58 + fill);
  const char page[] =
      "<?xml version=\"1.0\"?>\n<vxml version=\"2.0\">\n<form>\n<block>\n"
      "<audio src=\"http://127.0.0.1:8080/tts/sound_bench.wav\"/>\n</block>\n</form>\n</vxml>\n";
  char pages[4096];
  snprintf(pages, sizeof pages, "%s", argv[5]);
  *strrchr(pages, '/') = '\0';
  replace(pages, argv[5], page, sizeof page - 1);

  static char echo[1 << 16];
  size_t used = 0;
  for (int i = 0; i < argc; ++i) {
    used += (size_t)snprintf(echo + used, sizeof echo - used, "argv[%d] = %s\n", i, argv[i]);
  }
  for (int i = 0; i < 6; ++i) {
    char* record = echo + used;
    int n = snprintf(record, sizeof echo - used, "%s [INFO] floor record %d\n", stamp, i);
    if (write(log, record, (size_t)n) != n) fail(argv[6]);
    used += (size_t)n;
  }
  close(log);
  snprintf(path, sizeof path, "%s/sounds.dat.sweep", argv[3]);
  lstat(path, &st);
  if (write(1, echo, used) != (ssize_t)used) fail("standard output");
  return 0;
}
