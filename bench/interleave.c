// Times whole commands from outside, taking them in turns so that a drift in
// the machine's speed reaches every command alike. Each round starts one
// command further on (A B C, B C A, C A B, ...): a command run after a heavy
// one finds colder caches, and no command should always be the one after.
//
//   interleave ROUNDS NAME OUT CMD [ARG...] ; [NAME OUT CMD [ARG...] ;]...
//
// OUT is a new file that takes the command's standard output ("-": /dev/null);
// each ";" is a separate argument. One round goes first uncounted. Prints one
// line per command: NAME, then the median, min and max wall time in
// microseconds, then how many runs ended with a status other than the first's.
#define _GNU_SOURCE
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>

extern char** environ;

enum { kMaxCommands = 16 };

struct Command {
  const char* name;
  const char* out;
  char** argv;
  double* wall_us;
  int first_status;
  int odd_statuses;
};

static double now_us(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

// Runs the command once; its wall time from just before the start to just
// after it is reaped, and its exit status in *status.
static double run(const struct Command* c, int* status) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  int fresh = strcmp(c->out, "-") != 0;
  const char* out = fresh ? c->out : "/dev/null";
  posix_spawn_file_actions_addopen(&actions, 1, out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  double start = now_us();
  // A new file each time, the old one removed within the time, as the request
  // does with its sound: truncating the old one instead would have ext4 flush
  // it on close and slow whatever runs next.
  if (fresh) unlink(out);
  pid_t pid;
  if (posix_spawnp(&pid, c->argv[0], &actions, NULL, c->argv, environ) != 0) {
    fprintf(stderr, "interleave: cannot start %s\n", c->argv[0]);
    exit(1);
  }
  int raw;
  waitpid(pid, &raw, 0);
  double wall = now_us() - start;
  posix_spawn_file_actions_destroy(&actions);
  *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  return wall;
}

static int by_value(const void* a, const void* b) {
  double x = *(const double*)a, y = *(const double*)b;
  return (x > y) - (x < y);
}

int main(int argc, char** argv) {
  if (argc < 5) {
    fprintf(stderr, "usage: interleave ROUNDS NAME OUT CMD [ARG...] ; ...\n");
    return 2;
  }
  int rounds = atoi(argv[1]);
  struct Command commands[kMaxCommands];
  int count = 0;
  for (int i = 2; i < argc;) {
    if (count == kMaxCommands || i + 2 >= argc) {
      fprintf(stderr, "interleave: bad command list\n");
      return 2;
    }
    struct Command* c = &commands[count++];
    c->name = argv[i];
    c->out = argv[i + 1];
    c->argv = &argv[i + 2];
    int end = i + 2;
    while (end < argc && strcmp(argv[end], ";") != 0) ++end;
    if (end < argc) argv[end] = NULL;  // the command's own argument list ends here
    i = end + 1;
    c->wall_us = calloc((size_t)rounds, sizeof(double));
    c->odd_statuses = 0;
  }
  for (int k = 0; k < count; ++k) run(&commands[k], &commands[k].first_status);
  for (int r = 0; r < rounds; ++r) {
    for (int j = 0; j < count; ++j) {
      int k = (r + j) % count;
      int status;
      commands[k].wall_us[r] = run(&commands[k], &status);
      if (status != commands[k].first_status) ++commands[k].odd_statuses;
    }
  }
  for (int k = 0; k < count; ++k) {
    struct Command* c = &commands[k];
    qsort(c->wall_us, (size_t)rounds, sizeof(double), by_value);
    printf("%s %.0f %.0f %.0f %d\n", c->name, c->wall_us[rounds / 2], c->wall_us[0],
           c->wall_us[rounds - 1], c->odd_statuses);
  }
  return 0;
}
