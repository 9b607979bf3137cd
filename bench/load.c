// Sustained load: keeps WORKERS copies of a command running for SECONDS,
// starting a new one as soon as one ends, and counts what ends each second.
//
//   load WORKERS SECONDS STATUS CMD [ARG...]
//
// In the arguments "%n" becomes the run's number (0, 1, ...) and "%w" the
// worker's (0 to WORKERS-1). Runs whose exit status is not STATUS are
// counted as failed. Prints the runs ended in each second, then
//   rate first10 FIRST last10 LAST runs N failed F
// with FIRST and LAST in runs per second over the first and last ten seconds.
#define _GNU_SOURCE
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>

extern char** environ;

enum { kMaxWorkers = 64, kMaxArgs = 64 };

static double now_s(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

// Copies pattern with "%n" and "%w" replaced.
static char* expand(const char* pattern, long run, int worker) {
  size_t cap = strlen(pattern) + 64;
  char* out = malloc(cap);
  size_t len = 0;
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && (p[1] == 'n' || p[1] == 'w')) {
      len += (size_t)snprintf(out + len, cap - len, "%ld", p[1] == 'n' ? run : (long)worker);
      ++p;
    } else {
      out[len++] = *p;
    }
    if (len + 24 >= cap) out = realloc(out, cap *= 2);
  }
  out[len] = '\0';
  return out;
}

static pid_t start(char** pattern, int nargs, long run, int worker) {
  char* argv[kMaxArgs + 1];
  for (int i = 0; i < nargs; ++i) argv[i] = expand(pattern[i], run, worker);
  argv[nargs] = NULL;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], &actions, NULL, argv, environ) != 0) {
    fprintf(stderr, "load: cannot start %s\n", argv[0]);
    exit(1);
  }
  posix_spawn_file_actions_destroy(&actions);
  for (int i = 0; i < nargs; ++i) free(argv[i]);
  return pid;
}

int main(int argc, char** argv) {
  if (argc < 5) {
    fprintf(stderr, "usage: load WORKERS SECONDS STATUS CMD [ARG...]\n");
    return 2;
  }
  int workers = atoi(argv[1]);
  int seconds = atoi(argv[2]);
  int expected = atoi(argv[3]);
  char** pattern = &argv[4];
  int nargs = argc - 4;
  if (workers < 1 || workers > kMaxWorkers || seconds < 20 || nargs > kMaxArgs) {
    fprintf(stderr, "load: 1 to %d workers, at least 20 seconds, at most %d arguments\n",
            kMaxWorkers, kMaxArgs);
    return 2;
  }
  long* per_second = calloc((size_t)seconds, sizeof(long));
  pid_t pids[kMaxWorkers];
  long next = 0, failed = 0;
  double begin = now_s(), end = begin + seconds;
  for (int w = 0; w < workers; ++w) pids[w] = start(pattern, nargs, next++, w);
  int running = workers;
  while (running > 0) {
    int raw;
    pid_t pid = wait(&raw);
    if (pid < 0) break;
    double t = now_s();
    int w = 0;
    while (w < workers && pids[w] != pid) ++w;
    if (w == workers) continue;
    long second = (long)(t - begin);
    if (second < seconds) {
      ++per_second[second];
      if (!WIFEXITED(raw) || WEXITSTATUS(raw) != expected) ++failed;
    }
    if (t < end) {
      pids[w] = start(pattern, nargs, next++, w);
    } else {
      pids[w] = -1;
      --running;
    }
  }
  long total = 0, first = 0, last = 0;
  for (int s = 0; s < seconds; ++s) {
    printf("%s%ld", s == 0 ? "" : " ", per_second[s]);
    total += per_second[s];
    if (s < 10) first += per_second[s];
    if (s >= seconds - 10) last += per_second[s];
  }
  printf("\nrate first10 %.1f last10 %.1f runs %ld failed %ld\n", first / 10.0, last / 10.0, total,
         failed);
  return 0;
}
