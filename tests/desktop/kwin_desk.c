// A player's hands and eyes on KDE's compositor, for the desktop checks: keys through KWin's
// fake-input protocol, and the windows as a task bar sees them (KDE's window management
// protocol), one of which it can bring forward. One command a line on standard input, each
// answered by "ok" on a line of its own:
//   key CODE STATE     a key (Linux input code) pressed (1) or released (0)
//   windows            a line "ACTIVE|APP_ID|TITLE" per window, bottom to top (ACTIVE: 1 or 0)
//   activate TITLE     brings the window with that title forward, as its task bar entry does
// The connection, and with it a keyboard on the seat, lasts until standard input ends.
#define _GNU_SOURCE
#include <poll.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wayland-client.h>

#include "fake-input-client-protocol.h"
#include "plasma-window-management-client-protocol.h"

struct window {
  struct org_kde_plasma_window* handle;
  char uuid[64];
  char title[256];
  char app_id[256];
  uint32_t state;
  int mapped;
};

static struct org_kde_kwin_fake_input* fake_input;
static struct org_kde_plasma_window_management* management;
static struct window windows[256];
static int window_count;
static char stacking[8192];  // uuids, ';'-separated, bottom to top

static void copy(char* to, size_t size, const char* from) {
  snprintf(to, size, "%s", from ? from : "");
}

static void title_changed(void* data, struct org_kde_plasma_window* w, const char* title) {
  copy(((struct window*)data)->title, sizeof windows[0].title, title);
}
static void app_id_changed(void* data, struct org_kde_plasma_window* w, const char* app_id) {
  copy(((struct window*)data)->app_id, sizeof windows[0].app_id, app_id);
}
static void state_changed(void* data, struct org_kde_plasma_window* w, uint32_t state) {
  ((struct window*)data)->state = state;
}
static void unmapped(void* data, struct org_kde_plasma_window* w) {
  ((struct window*)data)->mapped = 0;
}
static void ignore_uint(void* data, struct org_kde_plasma_window* w, uint32_t value) {}
static void ignore_int(void* data, struct org_kde_plasma_window* w, int32_t value) {}
static void ignore_none(void* data, struct org_kde_plasma_window* w) {}
static void ignore_string(void* data, struct org_kde_plasma_window* w, const char* text) {}
static void ignore_parent(void* data, struct org_kde_plasma_window* w,
                          struct org_kde_plasma_window* parent) {}
static void ignore_geometry(void* data, struct org_kde_plasma_window* w, int32_t x, int32_t y,
                            uint32_t width, uint32_t height) {}
static void ignore_menu(void* data, struct org_kde_plasma_window* w, const char* service,
                        const char* path) {}

static const struct org_kde_plasma_window_listener window_listener = {
    .title_changed = title_changed,
    .app_id_changed = app_id_changed,
    .state_changed = state_changed,
    .virtual_desktop_changed = ignore_int,
    .themed_icon_name_changed = ignore_string,
    .unmapped = unmapped,
    .initial_state = ignore_none,
    .parent_window = ignore_parent,
    .geometry = ignore_geometry,
    .icon_changed = ignore_none,
    .pid_changed = ignore_uint,
    .virtual_desktop_entered = ignore_string,
    .virtual_desktop_left = ignore_string,
    .application_menu = ignore_menu,
    .activity_entered = ignore_string,
    .activity_left = ignore_string,
    .resource_name_changed = ignore_string,
};

static void show_desktop_changed(void* data, struct org_kde_plasma_window_management* m,
                                 uint32_t state) {}
static void window_added(void* data, struct org_kde_plasma_window_management* m, uint32_t id) {}
static void stacking_changed(void* data, struct org_kde_plasma_window_management* m,
                             struct wl_array* ids) {}
static void stacking_uuids_changed(void* data, struct org_kde_plasma_window_management* m,
                                   const char* uuids) {
  copy(stacking, sizeof stacking, uuids);
}
static void window_with_uuid(void* data, struct org_kde_plasma_window_management* m, uint32_t id,
                             const char* uuid) {
  if (window_count == 256) return;
  struct window* w = &windows[window_count++];
  memset(w, 0, sizeof *w);
  copy(w->uuid, sizeof w->uuid, uuid);
  w->mapped = 1;
  w->handle = org_kde_plasma_window_management_get_window_by_uuid(m, uuid);
  org_kde_plasma_window_add_listener(w->handle, &window_listener, w);
}

static const struct org_kde_plasma_window_management_listener management_listener = {
    .show_desktop_changed = show_desktop_changed,
    .window = window_added,
    .stacking_order_changed = stacking_changed,
    .stacking_order_uuid_changed = stacking_uuids_changed,
    .window_with_uuid = window_with_uuid,
};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
  if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4) {
    fake_input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
  } else if (strcmp(interface, org_kde_plasma_window_management_interface.name) == 0 &&
             version >= 13) {
    management = wl_registry_bind(registry, name, &org_kde_plasma_window_management_interface, 13);
    org_kde_plasma_window_management_add_listener(management, &management_listener, NULL);
  }
}
static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {}
static const struct wl_registry_listener registry_listener = {global, global_remove};

static struct window* window_by_uuid(const char* uuid, size_t length) {
  for (int i = 0; i < window_count; ++i) {
    if (windows[i].mapped && strlen(windows[i].uuid) == length &&
        strncmp(windows[i].uuid, uuid, length) == 0) {
      return &windows[i];
    }
  }
  return NULL;
}

static void list_windows(void) {
  for (const char* at = stacking; *at;) {
    const char* end = strchrnul(at, ';');
    struct window* w = window_by_uuid(at, (size_t)(end - at));
    if (w) {
      printf("%d|%s|%s\n", (w->state & ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE) != 0,
             w->app_id, w->title);
    }
    at = *end ? end + 1 : end;
  }
}

static void activate(const char* title) {
  for (int i = window_count - 1; i >= 0; --i) {
    if (windows[i].mapped && strcmp(windows[i].title, title) == 0) {
      org_kde_plasma_window_set_state(windows[i].handle,
                                      ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE,
                                      ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE);
      return;
    }
  }
}

int main(void) {
  struct wl_display* display = wl_display_connect(NULL);
  if (!display) {
    fprintf(stderr, "kwin_desk: no Wayland display\n");
    return 1;
  }
  struct wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &registry_listener, NULL);
  wl_display_roundtrip(display);
  if (!fake_input || !management) {
    fprintf(stderr, "kwin_desk: the compositor lacks KWin's fake input or window management\n");
    return 1;
  }
  org_kde_kwin_fake_input_authenticate(fake_input, "Sacotin's desktop checks",
                                       "keys of the checks");
  wl_display_roundtrip(display);
  setvbuf(stdout, NULL, _IOLBF, 0);

  char line[512];
  struct pollfd fds[2] = {{.fd = 0, .events = POLLIN},
                          {.fd = wl_display_get_fd(display), .events = POLLIN}};
  for (;;) {
    wl_display_flush(display);
    if (poll(fds, 2, -1) < 0) return 1;
    if (fds[1].revents & POLLIN) {
      if (wl_display_dispatch(display) < 0) return 1;
    }
    if (!(fds[0].revents & (POLLIN | POLLHUP))) continue;
    if (!fgets(line, sizeof line, stdin)) break;
    line[strcspn(line, "\n")] = '\0';
    unsigned code = 0, state = 0;
    if (sscanf(line, "key %u %u", &code, &state) == 2) {
      org_kde_kwin_fake_input_keyboard_key(fake_input, code, state);
    } else if (strcmp(line, "windows") == 0) {
      wl_display_roundtrip(display);
      wl_display_roundtrip(display);
      list_windows();
    } else if (strncmp(line, "activate ", 9) == 0) {
      wl_display_roundtrip(display);
      activate(line + 9);
    }
    wl_display_roundtrip(display);
    printf("ok\n");
  }
  wl_display_disconnect(display);
  return 0;
}
