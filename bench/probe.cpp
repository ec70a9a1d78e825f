#include "bench/probe.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace lx::bench {

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

double CpuMs(const rusage& u) {
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

pid_t Spawn(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execv(args[0], args.data());
    _exit(127);
  }
  return pid;
}

// Waits for the child, for at most `timeoutS`; kills it when it overstays.
void Reap(pid_t pid, double timeoutS, RunFigures& figures) {
  const Clock::time_point until =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(timeoutS));
  int status = 0;
  rusage usage{};
  for (;;) {
    const pid_t done = wait4(pid, &status, WNOHANG, &usage);
    if (done == pid) break;
    if (Clock::now() > until) {
      kill(pid, SIGKILL);
      wait4(pid, &status, 0, &usage);
      if (figures.error.empty()) figures.error = "did not end in time";
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  figures.maxRssKb = usage.ru_maxrss;
  figures.cpuMs = CpuMs(usage);
  figures.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(r);
  return atom;
}

std::string Title(xcb_connection_t* c, xcb_window_t w, xcb_atom_t netName, xcb_atom_t utf8) {
  for (auto [property, type] :
       {std::pair{netName, utf8}, std::pair{xcb_atom_t(XCB_ATOM_WM_NAME), xcb_atom_t(XCB_ATOM_ANY)}}) {
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 256), nullptr);
    std::string title;
    if (r && xcb_get_property_value_length(r) > 0)
      title.assign(static_cast<const char*>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
    std::free(r);
    if (!title.empty()) return title;
  }
  return {};
}

// The pixel's colour, or nullopt while the window cannot be read (not yet viewable).
std::optional<unsigned> Pixel(xcb_connection_t* c, xcb_window_t w, int x, int y) {
  xcb_get_image_reply_t* r =
      xcb_get_image_reply(c,
                          xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, static_cast<int16_t>(x),
                                        static_cast<int16_t>(y), 1, 1, ~0u),
                          nullptr);
  if (!r) return std::nullopt;
  std::optional<unsigned> rgb;
  if (xcb_get_image_data_length(r) >= 4) {
    const uint8_t* d = xcb_get_image_data(r);
    rgb = (unsigned(d[2]) << 16) | (unsigned(d[1]) << 8) | d[0];  // 24-bit visual, little endian
  }
  std::free(r);
  return rgb;
}

}  // namespace

RunFigures RunProgram(const std::vector<std::string>& argv) {
  RunFigures figures;
  const Clock::time_point start = Clock::now();
  const pid_t pid = Spawn(argv);
  if (pid < 0) return {0, 0, 0, -1, "cannot start " + argv[0]};
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  figures.ms = Ms(start, Clock::now());
  figures.maxRssKb = usage.ru_maxrss;
  figures.cpuMs = CpuMs(usage);
  figures.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (figures.status == 127) figures.error = "cannot start " + argv[0];
  return figures;
}

RunFigures RunWindow(const std::vector<std::string>& argv, const WindowCheck& check) {
  RunFigures figures;
  std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> conn(xcb_connect(nullptr, nullptr),
                                                                      xcb_disconnect);
  xcb_connection_t* c = conn.get();
  if (xcb_connection_has_error(c)) return {0, 0, 0, -1, "no X display (DISPLAY)"};
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  const xcb_atom_t netName = Atom(c, "_NET_WM_NAME"), utf8 = Atom(c, "UTF8_STRING");
  const xcb_atom_t protocols = Atom(c, "WM_PROTOCOLS"), deleteWindow = Atom(c, "WM_DELETE_WINDOW");
  xcb_flush(c);

  const Clock::time_point start = Clock::now();
  const pid_t pid = Spawn(argv);
  if (pid < 0) return {0, 0, 0, -1, "cannot start " + argv[0]};
  const Clock::time_point until =
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(check.timeoutS));

  xcb_window_t window = XCB_WINDOW_NONE;
  bool painted = false;
  while (!painted && Clock::now() < until) {
    while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
      if ((e->response_type & 0x7F) == XCB_MAP_NOTIFY && window == XCB_WINDOW_NONE) {
        const xcb_window_t w = reinterpret_cast<xcb_map_notify_event_t*>(e)->window;
        if (Title(c, w, netName, utf8).find(check.title) != std::string::npos) window = w;
      }
      std::free(e);
    }
    if (window != XCB_WINDOW_NONE) {
      const std::optional<unsigned> rgb = Pixel(c, window, check.x, check.y);
      if (rgb && *rgb == check.rgb) {
        painted = true;
        figures.ms = Ms(start, Clock::now());
        break;
      }
    }
    int status;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      figures.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      figures.error = window ? "ended before its window was painted" : "ended without showing its window";
      return figures;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(150));
  }
  if (!painted) figures.error = window ? "window never painted" : "no window titled '" + check.title + "'";

  if (painted) {
    xcb_client_message_event_t close{};
    close.response_type = XCB_CLIENT_MESSAGE;
    close.format = 32;
    close.window = window;
    close.type = protocols;
    close.data.data32[0] = deleteWindow;
    close.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&close));
    xcb_flush(c);
  } else {
    kill(pid, SIGKILL);
  }
  Reap(pid, 10, figures);
  if (painted && figures.status != 0 && figures.error.empty())
    figures.error = "closing the window ended it with status " + std::to_string(figures.status);
  return figures;
}

}  // namespace lx::bench
