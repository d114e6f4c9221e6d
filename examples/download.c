/*
 * download: identifies the wrist unit behind a serial infrared adapter, downloads its exercise
 * memory and saves every exercise in it as an HRM file.
 *
 *   cc download.c $(pkg-config --cflags --libs quibra) -o download
 *   ./download /dev/ttyUSB0 exercises
 *
 * Against a simulated unit: `quibra-sim --type 22 --exercises 3` prints the pty to pass as PORT.
 * Files are named exercise-N.hrm in DIR (which must exist); the program exits 0 when at least
 * one exercise was saved.
 */
#include <quibra/quibra.h>
#include <stdio.h>
#include <string.h>

enum {
  SERIAL_ADAPTER = 0x00, /* fnQuibra_StartIRCommunication: a serial adapter on PORT */
  DIALOG_OWNER = 1,      /* any nonzero window: the library's progress dialogs run */
  ASK_THE_UNIT = 0,      /* fnQuibra_ReadExercisesData: the PC asks for the memory */
  ONE_EXERCISE = 0,      /* fnQuibra_AnalyzeFile: exercise n as the unit sent it */
  PARAM_DATE = 9,        /* fnQuibra_GetRecParam: yyyymmdd */
  PARAM_START = 10       /* fnQuibra_GetRecParam: start time in 1/10 s */
};

static int identify(void) {
  CommParams params;
  MonitorInfo info;
  memset(&params, 0, sizeof params);
  memset(&info, 0, sizeof info);
  params.Size = QUIBRA_COMM_PARAMS_SIZE;
  params.LinkType = 1; /* infrared */
  params.ShowDialog = 1;
  info.MonitorInUse = -1; /* not known yet: the unit is probed */
  if (fnQuibra_ReadMonitorInfo(&params, &info) != 1) return 0;
  printf("unit: %s (type %d), %d exercise file(s)\n",
         fnQuibra_GetOrvekHRMonitorName(info.MonitorInUse, (int32_t)info.DataVersion),
         info.MonitorInUse, (int)info.TotalFiles);
  return 1;
}

static int save_exercises(const char* dir) {
  int saved = 0;
  int32_t n;
  /* Every exercise takes at least one byte of the memory, which bounds the loop. */
  const int32_t bytes = fnKx2GetNbrOfMemtrBytes();
  for (n = 0; n < bytes; ++n) {
    char path[260]; /* the library's path buffers hold 260 characters */
    if (fnQuibra_AnalyzeFile(n, ONE_EXERCISE) != 1) break; /* no more exercises */
    if (snprintf(path, sizeof path, "%s/exercise-%d.hrm", dir, (int)n + 1) >= (int)sizeof path) {
      fprintf(stderr, "download: the folder name is too long\n");
      return saved;
    }
    if (fnQuibra_SaveExerciseHRM(0, path, 0) != 1) {
      fprintf(stderr, "download: cannot write %s (error %d)\n", path, fnQuibra_GetErrorCode());
      return saved;
    }
    printf("%s: %d, start %d s, %d samples\n", path, fnQuibra_GetRecParam(PARAM_DATE),
           fnQuibra_GetRecParam(PARAM_START) / 10, fnQuibra_GetNbrOfHRMSamples());
    ++saved;
  }
  return saved;
}

int main(int argc, char** argv) {
  const char* dir = argc > 2 ? argv[2] : ".";
  int downloaded = 0;
  if (argc < 2) {
    fprintf(stderr, "usage: %s PORT [DIR]\n", argv[0]);
    return 2;
  }
  printf("quibra library version %d\n", fnQuibra_GetLibraryVersion());
  if (fnQuibra_StartIRCommunication(SERIAL_ADAPTER, argv[1]) != 1) {
    fprintf(stderr, "download: cannot open %s\n", argv[1]);
    return 1;
  }
  if (identify()) {
    downloaded = fnQuibra_ReadExercisesData(DIALOG_OWNER, ASK_THE_UNIT) == 1;
  } else {
    fprintf(stderr, "download: no wrist unit answered on %s\n", argv[1]);
  }
  fnQuibra_EndIRCommunication(0);
  if (!downloaded) return 1;
  return save_exercises(dir) > 0 ? 0 : 1;
}
