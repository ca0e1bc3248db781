#pragma once
/* Hands a folder to the main program through the session bus. */

#include <glib.h>

G_BEGIN_DECLS

/* Calls FolderOpen(path, 0) on "Quillbay.Application", letting the bus start
 * the program when it is not running. Returns at once: the program answers
 * only when the user has closed its select-setting dialog, which may take
 * minutes, and the file manager must not wait for that. A failure is shown
 * as "Error: " followed by the message, in a desktop notification. */
void qb_folder_open_call(const gchar *path);

G_END_DECLS
