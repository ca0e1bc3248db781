#pragma once
/* Reads values from the program's registry stand-in: the plain text file that
 * the main program writes (format described in app/platform/RegistryFormat.h).
 * Plain C and GLib, so that the file manager extension can read it without
 * loading any of the main program's libraries. The rules here mirror the
 * writer's own reader: a line that cannot be read is skipped, a key line that
 * cannot be read leaves the values that follow with the key before it, key
 * paths and value names are compared without regard to letter case, and the
 * first readable value of a name counts. */

#include <glib.h>

G_BEGIN_DECLS

typedef enum { QB_REGISTRY_ABSENT = 0, QB_REGISTRY_TEXT, QB_REGISTRY_NUMBER, QB_REGISTRY_BYTES } QbRegistryType;

typedef struct {
    QbRegistryType type;
    gchar *text;    /* QB_REGISTRY_TEXT: valid UTF-8 (owned) */
    guint32 number; /* QB_REGISTRY_NUMBER */
} QbRegistryValue;

void qb_registry_value_clear(QbRegistryValue *value);

/* "$XDG_CONFIG_HOME/Tolvane/Quillbay/registry.txt" (a relative
 * XDG_CONFIG_HOME is ignored; "$HOME/.config" stands in); NULL when neither
 * can be told. Free with g_free. */
gchar *qb_registry_default_file_path(void);

/* Looks up one value in the bytes of a registry file. key_path is below the
 * current user's root ("Software\\Tolvane\\Quillbay\\FolderMenu"). Leaves
 * value->type QB_REGISTRY_ABSENT when the value is not there. */
void qb_registry_lookup(const gchar *bytes, gsize length, const gchar *key_path, const gchar *value_name,
                        QbRegistryValue *value);

/* The values of the folder context menu, read from a registry file. A missing
 * or unreadable file gives show = FALSE and the default texts. */
typedef struct {
    gboolean show;
    gchar *title;
    gchar *help;
} QbFolderMenuValues;

void qb_folder_menu_values_read(const gchar *file_path, QbFolderMenuValues *values);
void qb_folder_menu_values_clear(QbFolderMenuValues *values);

#define QB_FOLDER_MENU_KEY "Software\\Tolvane\\Quillbay\\FolderMenu"
#define QB_DEFAULT_MENU_TITLE "Open with Quillbay the Renamer"
#define QB_DEFAULT_MENU_HELP "Add the folder to Quillbay the Renamer"

G_END_DECLS
