// SPDX-FileCopyrightText: 2026 The Jotshelf developers
// SPDX-License-Identifier: GPL-3.0-or-later

/*
 * Sends keys and pointer events through KWin's org_kde_kwin_fake_input protocol, so that they
 * travel the compositor's own input path (focus, global shortcuts) as a user's would.
 *
 * KWin offers the protocol only to a program whose .desktop file (Exec= this binary's absolute
 * path) declares X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input.
 *
 * Usage: kwin_fake_input ACTION...
 *   down:CODE  up:CODE  tap:CODE   an evdev key code (56 Left Alt, 41 grave)
 *   type:TEXT                      lowercase letters, digits and spaces
 *   move:X,Y                       the pointer to an absolute position
 *   click                          the left button
 *   sleep:MS
 * Exits 0 once KWin has taken every request, 2 when it does not offer the protocol.
 */
#include "fake-input-client-protocol.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

static struct org_kde_kwin_fake_input *fake_input;

static void global_added(void *data, struct wl_registry *registry, uint32_t name,
                         const char *interface, uint32_t version)
{
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        fake_input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}

static void global_removed(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global_added, global_removed};

static void pause_ms(long ms)
{
    struct timespec delay = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&delay, NULL);
}

/* The evdev code of a character of type:, or 0. */
static uint32_t key_for(char c)
{
    static const char *rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    static const uint32_t starts[] = {16, 30, 44};
    if (c == ' ')
        return 57;
    if (c >= '1' && c <= '9')
        return (uint32_t)(2 + c - '1');
    if (c == '0')
        return 11;
    for (int row = 0; row < 3; ++row) {
        const char *found = strchr(rows[row], c);
        if (found)
            return starts[row] + (uint32_t)(found - rows[row]);
    }
    return 0;
}

static void key(uint32_t code, uint32_t state)
{
    org_kde_kwin_fake_input_keyboard_key(fake_input, code, state);
}

int main(int argc, char **argv)
{
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "kwin_fake_input: no Wayland display\n");
        return 1;
    }
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!fake_input) {
        fprintf(stderr,
                "kwin_fake_input: the compositor does not offer org_kde_kwin_fake_input "
                "version 4 to this program (its .desktop file must declare it)\n");
        return 2;
    }
    org_kde_kwin_fake_input_authenticate(fake_input, "Jotshelf desktop test", "drives the test");

    for (int i = 1; i < argc; ++i) {
        const char *action = argv[i];
        if (strncmp(action, "down:", 5) == 0) {
            key((uint32_t)atoi(action + 5), 1);
        } else if (strncmp(action, "up:", 3) == 0) {
            key((uint32_t)atoi(action + 3), 0);
        } else if (strncmp(action, "tap:", 4) == 0) {
            key((uint32_t)atoi(action + 4), 1);
            wl_display_roundtrip(display);
            key((uint32_t)atoi(action + 4), 0);
        } else if (strncmp(action, "type:", 5) == 0) {
            for (const char *c = action + 5; *c; ++c) {
                const uint32_t code = key_for(*c);
                if (!code) {
                    fprintf(stderr, "kwin_fake_input: cannot type '%c'\n", *c);
                    return 1;
                }
                key(code, 1);
                wl_display_roundtrip(display);
                key(code, 0);
                wl_display_roundtrip(display);
                pause_ms(15);
            }
        } else if (strncmp(action, "move:", 5) == 0) {
            double x = 0, y = 0;
            if (sscanf(action + 5, "%lf,%lf", &x, &y) != 2) {
                fprintf(stderr, "kwin_fake_input: bad position %s\n", action + 5);
                return 1;
            }
            org_kde_kwin_fake_input_pointer_motion_absolute(fake_input, wl_fixed_from_double(x),
                                                            wl_fixed_from_double(y));
        } else if (strcmp(action, "click") == 0) {
            org_kde_kwin_fake_input_button(fake_input, 0x110, 1);
            wl_display_roundtrip(display);
            org_kde_kwin_fake_input_button(fake_input, 0x110, 0);
        } else if (strncmp(action, "sleep:", 6) == 0) {
            wl_display_roundtrip(display);
            pause_ms(atol(action + 6));
        } else {
            fprintf(stderr, "kwin_fake_input: unknown action %s\n", action);
            return 1;
        }
        wl_display_roundtrip(display);
    }
    org_kde_kwin_fake_input_destroy(fake_input);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}
