// bench_waitmap: starts a program and measures, from outside it, the time from its start
// until the X server maps a top-level window with a given title (or any window).
//
//   bench_waitmap [--name TITLE] [--timeout SECONDS] [--rss-after MS] [--keep] [--cwd DIR]
//                 [--trigger] -- PROGRAM [ARGUMENTS...]
//
// With --trigger the program only makes another, running program map the window (xdotool
// clicking into it, say): its end is no failure, and it is not ended.
//
// Prints one line: milliseconds from fork to the map, the program's resident memory in kB
// read MS milliseconds after the map ("-" without --rss-after), its process id and the
// window id. The program is then ended (SIGTERM), unless --keep leaves it running.
// The exit status is 0 on success, 1 when the program exited or the time ran out first.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

double nowMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
  const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(r);
  return a;
}

std::string property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t prop, xcb_atom_t type) {
  xcb_get_property_reply_t* r =
      xcb_get_property_reply(c, xcb_get_property(c, 0, w, prop, type, 0, 1024), nullptr);
  std::string value;
  if (r && r->type != XCB_ATOM_NONE) {
    value.assign(static_cast<const char*>(xcb_get_property_value(r)),
                 size_t(xcb_get_property_value_length(r)));
  }
  std::free(r);
  return value;
}

// Qt appends " — <application name>" to a window's title on X; both forms count.
bool titleMatches(const std::string& title, const std::string& wanted) {
  if (title == wanted) return true;
  const std::string withApp = wanted + " \xE2\x80\x94 ";
  return title.compare(0, withApp.size(), withApp) == 0;
}

long residentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

int usage() {
  std::fprintf(stderr,
               "usage: bench_waitmap [--name TITLE] [--timeout SECONDS] [--rss-after MS] "
               "[--keep] [--cwd DIR] [--trigger] -- PROGRAM [ARGUMENTS...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string name;
  bool anyWindow = true;
  double timeoutMs = 30000;
  long rssAfterMs = -1;
  bool keep = false;
  bool trigger = false;
  const char* cwd = nullptr;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--") {
      ++i;
      break;
    }
    if (a == "--keep") {
      keep = true;
      continue;
    }
    if (a == "--trigger") {
      trigger = true;
      continue;
    }
    if (i + 1 >= argc) return usage();
    if (a == "--name") {
      name = argv[++i];
      anyWindow = false;
    } else if (a == "--timeout") {
      timeoutMs = std::atof(argv[++i]) * 1000;
    } else if (a == "--rss-after") {
      rssAfterMs = std::atol(argv[++i]);
    } else if (a == "--cwd") {
      cwd = argv[++i];
    } else {
      return usage();
    }
  }
  if (i >= argc) return usage();
  std::vector<char*> command(argv + i, argv + argc);
  command.push_back(nullptr);

  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "bench_waitmap: cannot open the display\n");
    return 1;
  }
  const int fd = xcb_get_file_descriptor(c);
  fcntl(fd, F_SETFD, FD_CLOEXEC);
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  // Without a window manager, top-level windows are children of the root: their maps are
  // reported to whoever listens to the root's substructure.
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  const xcb_atom_t netWmName = atom(c, "_NET_WM_NAME");
  const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
  // A round trip, so the server listens before the program starts.
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));

  const double start = nowMs();
  const pid_t pid = fork();
  if (pid < 0) {
    std::perror("bench_waitmap: fork");
    return 1;
  }
  if (pid == 0) {
    if (cwd && chdir(cwd) != 0) _exit(127);
    execvp(command[0], command.data());
    _exit(127);
  }

  xcb_window_t found = XCB_WINDOW_NONE;
  double mappedAt = 0;
  bool exited = false;
  while (found == XCB_WINDOW_NONE) {
    while (xcb_generic_event_t* ev = xcb_poll_for_event(c)) {
      if ((ev->response_type & 0x7f) == XCB_MAP_NOTIFY && found == XCB_WINDOW_NONE) {
        const double at = nowMs();
        const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(ev);
        std::string title = property(c, map->window, netWmName, utf8);
        if (title.empty()) title = property(c, map->window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
        if (anyWindow || titleMatches(title, name)) {
          found = map->window;
          mappedAt = at;
        }
      }
      std::free(ev);
    }
    if (found != XCB_WINDOW_NONE) break;
    if (xcb_connection_has_error(c)) break;
    int status;
    if (!exited && waitpid(pid, &status, WNOHANG) == pid) {
      exited = true;
      if (!trigger) break;
    }
    if (nowMs() - start > timeoutMs) break;
    pollfd p{fd, POLLIN, 0};
    poll(&p, 1, 20);
  }

  if (found == XCB_WINDOW_NONE) {
    std::fprintf(stderr, "bench_waitmap: %s before a window was mapped\n",
                 exited && !trigger ? "the program exited" : "time ran out");
    if (!exited) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    return 1;
  }

  long rss = -1;
  if (rssAfterMs >= 0) {
    usleep(useconds_t(rssAfterMs) * 1000);
    rss = residentKb(pid);
  }
  if (rss >= 0) {
    std::printf("%.3f %ld %d 0x%x\n", mappedAt - start, rss, int(pid), unsigned(found));
  } else {
    std::printf("%.3f - %d 0x%x\n", mappedAt - start, int(pid), unsigned(found));
  }
  std::fflush(stdout);
  xcb_disconnect(c);
  if (trigger) {
    if (!exited) waitpid(pid, nullptr, 0);
  } else if (!keep) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
  }
  return 0;
}
