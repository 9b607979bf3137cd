// What replacing a file of the same name costs: a new 17 KB file is written
// under a temporary name and put in place of DIR/target, ROUNDS times, once
// by a rename over the old file and once by removing the old name first.
// Prints the median microseconds of the replacing step (rename, or unlink and
// rename) for each way.
//
//   replace DIR ROUNDS
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double now_us(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

static int by_value(const void* a, const void* b) {
  double x = *(const double*)a, y = *(const double*)b;
  return (x > y) - (x < y);
}

static double median_replace(const char* dir, int rounds, int unlink_first) {
  static char data[17000];
  memset(data, 0x7f, sizeof data);
  double* took = calloc((size_t)rounds, sizeof(double));
  char temp[4096], target[4096];
  snprintf(target, sizeof target, "%s/target", dir);
  for (int i = 0; i < rounds; ++i) {
    snprintf(temp, sizeof temp, "%s/.tmp-%d", dir, i);
    int fd = open(temp, O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0 || write(fd, data, sizeof data) != (ssize_t)sizeof data || close(fd) != 0) {
      perror(temp);
      exit(1);
    }
    double start = now_us();
    if (unlink_first) unlink(target);
    if (rename(temp, target) != 0) {
      perror(target);
      exit(1);
    }
    took[i] = now_us() - start;
    usleep(2000);  // requests come one by one, not in a burst
  }
  qsort(took, (size_t)rounds, sizeof(double), by_value);
  double median = took[rounds / 2];
  free(took);
  return median;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: replace DIR ROUNDS\n");
    return 2;
  }
  int rounds = atoi(argv[2]);
  double over = median_replace(argv[1], rounds, 0);
  double first = median_replace(argv[1], rounds, 1);
  printf("%.0f %.0f\n", over, first);
  return 0;
}
