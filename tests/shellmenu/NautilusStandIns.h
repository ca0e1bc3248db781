#pragma once
/* What the test harness needs to do what Nautilus does with an extension:
 * a type module that loads the extension's shared object and runs its entry
 * points, and a file-info object that implements Nautilus's interface for a
 * path of the test's choosing. */

#include <glib-object.h>
#include <nautilus-extension.h>

G_BEGIN_DECLS

/* Loads the extension at path through its own type module and calls
 * nautilus_module_initialize, as Nautilus does at its start. NULL with a
 * message in *error when it cannot be loaded. */
GTypeModule *qb_extension_module_load(const char *path, char **error);
/* The types the extension lists through nautilus_module_list_types. */
void qb_extension_module_types(GTypeModule *module, const GType **types, int *count);

/* A file or folder as the file manager describes it. location_uri is a URI,
 * so that locations without a local path can be made too. */
NautilusFileInfo *qb_fake_file_info_new(const char *location_uri, gboolean directory);

G_END_DECLS
