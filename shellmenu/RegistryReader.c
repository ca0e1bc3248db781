#include "RegistryReader.h"

#include <string.h>

#define QB_REGISTRY_HEADER "QuillbayRegistry 1"

void qb_registry_value_clear(QbRegistryValue *value)
{
    g_clear_pointer(&value->text, g_free);
    value->type = QB_REGISTRY_ABSENT;
    value->number = 0;
}

gchar *qb_registry_default_file_path(void)
{
    const gchar *config = g_getenv("XDG_CONFIG_HOME");
    if (config != NULL && *config != '\0' && g_path_is_absolute(config))
        return g_build_filename(config, "Tolvane", "Quillbay", "registry.txt", NULL);
    const gchar *home = g_getenv("HOME");
    if (home != NULL && *home != '\0' && g_path_is_absolute(home))
        return g_build_filename(home, ".config", "Tolvane", "Quillbay", "registry.txt", NULL);
    return NULL;
}

/* A field with its "%XX" escapes undone; NULL when an escape is broken. A
 * lone "%" is the empty field. */
static GString *unescape_field(const gchar *field, gsize length)
{
    if (length == 1 && field[0] == '%')
        return g_string_new("");
    GString *out = g_string_sized_new(length);
    for (gsize i = 0; i < length; ++i) {
        if (field[i] != '%') {
            g_string_append_c(out, field[i]);
            continue;
        }
        const int high = i + 2 < length ? g_ascii_xdigit_value(field[i + 1]) : -1;
        const int low = i + 2 < length ? g_ascii_xdigit_value(field[i + 2]) : -1;
        if (high < 0 || low < 0) {
            g_string_free(out, TRUE);
            return NULL;
        }
        g_string_append_c(out, (gchar)(high * 16 + low));
        i += 2;
    }
    return out;
}

/* A text field as valid UTF-8 (owned), or NULL when it cannot be read. */
static gchar *text_field(const gchar *field, gsize length)
{
    GString *bytes = unescape_field(field, length);
    if (bytes == NULL)
        return NULL;
    gchar *text = g_utf8_make_valid(bytes->str, (gssize)bytes->len);
    g_string_free(bytes, TRUE);
    return text;
}

static gboolean parse_number(const gchar *field, gsize length, guint32 *number)
{
    if (length == 0 || length > 10)
        return FALSE;
    guint64 n = 0;
    for (gsize i = 0; i < length; ++i) {
        if (!g_ascii_isdigit(field[i]))
            return FALSE;
        n = n * 10 + (guint64)(field[i] - '0');
    }
    if (n > G_MAXUINT32)
        return FALSE;
    *number = (guint32)n;
    return TRUE;
}

static gboolean valid_bytes(const gchar *field, gsize length)
{
    if (length == 1 && field[0] == '%')
        return TRUE;
    if (length % 2 != 0)
        return FALSE;
    for (gsize i = 0; i < length; ++i) {
        if (!g_ascii_isxdigit(field[i]))
            return FALSE;
    }
    return TRUE;
}

/* Parses the value of a "text", "number" or "bytes" line; FALSE for another
 * kind or a field that cannot be read. */
static gboolean parse_value(const gchar *kind, const gchar *field, gsize length, QbRegistryValue *value)
{
    if (strcmp(kind, "text") == 0) {
        value->text = text_field(field, length);
        value->type = value->text != NULL ? QB_REGISTRY_TEXT : QB_REGISTRY_ABSENT;
    } else if (strcmp(kind, "number") == 0) {
        value->type = parse_number(field, length, &value->number) ? QB_REGISTRY_NUMBER : QB_REGISTRY_ABSENT;
    } else if (strcmp(kind, "bytes") == 0) {
        value->type = valid_bytes(field, length) ? QB_REGISTRY_BYTES : QB_REGISTRY_ABSENT;
    }
    return value->type != QB_REGISTRY_ABSENT;
}

/* A key path without the backslashes at its ends, folded for comparison. */
static gchar *folded_key_path(const gchar *path)
{
    gsize start = 0;
    gsize end = strlen(path);
    while (start < end && path[start] == '\\')
        ++start;
    while (end > start && path[end - 1] == '\\')
        --end;
    return end > start ? g_utf8_casefold(path + start, (gssize)(end - start)) : NULL;
}

static gboolean same_folded(const gchar *folded, const gchar *text)
{
    gchar *other = g_utf8_casefold(text, -1);
    const gboolean same = strcmp(folded, other) == 0;
    g_free(other);
    return same;
}

typedef struct {
    gchar *wanted_key;  /* folded */
    gchar *wanted_name; /* folded */
    gboolean in_key;    /* the lines now belong to the wanted key */
} Lookup;

/* Reads a "key" line; FALSE when it cannot be read. */
static gboolean read_key_line(Lookup *lookup, const gchar *field, gsize length)
{
    gchar *path = text_field(field, length);
    gchar *folded = path != NULL ? folded_key_path(path) : NULL;
    g_free(path);
    if (folded == NULL)
        return FALSE;
    lookup->in_key = strcmp(folded, lookup->wanted_key) == 0;
    g_free(folded);
    return TRUE;
}

/* Reads a value line of the wanted key; TRUE when it is the wanted value. */
static gboolean read_value_line(Lookup *lookup, gchar **fields, QbRegistryValue *value)
{
    gchar *name = text_field(fields[1], strlen(fields[1]));
    const gboolean wanted = name != NULL && same_folded(lookup->wanted_name, name);
    g_free(name);
    if (!wanted)
        return FALSE;
    if (parse_value(fields[0], fields[2], strlen(fields[2]), value))
        return TRUE;
    qb_registry_value_clear(value);
    return FALSE;
}

/* Handles one line; TRUE when the wanted value has been found in it. */
static gboolean read_line(Lookup *lookup, const gchar *line, QbRegistryValue *value)
{
    gchar **fields = g_strsplit(line, " ", -1);
    const guint count = g_strv_length(fields);
    gboolean found = FALSE;
    if (count == 2 && strcmp(fields[0], "key") == 0)
        read_key_line(lookup, fields[1], strlen(fields[1]));
    else if (count == 3 && lookup->in_key)
        found = read_value_line(lookup, fields, value);
    g_strfreev(fields);
    return found;
}

void qb_registry_lookup(const gchar *bytes, gsize length, const gchar *key_path, const gchar *value_name,
                        QbRegistryValue *value)
{
    value->type = QB_REGISTRY_ABSENT;
    value->text = NULL;
    value->number = 0;
    Lookup lookup = {folded_key_path(key_path), g_utf8_casefold(value_name, -1), FALSE};
    if (lookup.wanted_key == NULL) {
        g_free(lookup.wanted_name);
        return;
    }
    gsize start = 0;
    for (guint index = 0; start <= length; ++index) {
        const gchar *newline = memchr(bytes + start, '\n', length - start);
        const gsize end = newline != NULL ? (gsize)(newline - bytes) : length;
        gsize stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        gchar *line = g_strndup(bytes + start, stop - start);
        const gboolean header = index == 0 && strcmp(line, QB_REGISTRY_HEADER) == 0;
        const gboolean found = !header && *line != '\0' && read_line(&lookup, line, value);
        g_free(line);
        if (found)
            break;
        start = end + 1;
    }
    g_free(lookup.wanted_key);
    g_free(lookup.wanted_name);
}

void qb_folder_menu_values_read(const gchar *file_path, QbFolderMenuValues *values)
{
    values->show = FALSE;
    values->title = NULL;
    values->help = NULL;
    gchar *bytes = NULL;
    gsize length = 0;
    if (file_path != NULL && g_file_get_contents(file_path, &bytes, &length, NULL)) {
        QbRegistryValue value;
        qb_registry_lookup(bytes, length, QB_FOLDER_MENU_KEY, "ShowMenu", &value);
        values->show = value.type == QB_REGISTRY_NUMBER && value.number != 0;
        qb_registry_value_clear(&value);
        qb_registry_lookup(bytes, length, QB_FOLDER_MENU_KEY, "MenuTitle", &value);
        if (value.type == QB_REGISTRY_TEXT)
            values->title = g_steal_pointer(&value.text);
        qb_registry_value_clear(&value);
        qb_registry_lookup(bytes, length, QB_FOLDER_MENU_KEY, "MenuHelp", &value);
        if (value.type == QB_REGISTRY_TEXT)
            values->help = g_steal_pointer(&value.text);
        qb_registry_value_clear(&value);
        g_free(bytes);
    }
    if (values->title == NULL)
        values->title = g_strdup(QB_DEFAULT_MENU_TITLE);
    if (values->help == NULL)
        values->help = g_strdup(QB_DEFAULT_MENU_HELP);
}

void qb_folder_menu_values_clear(QbFolderMenuValues *values)
{
    g_clear_pointer(&values->title, g_free);
    g_clear_pointer(&values->help, g_free);
    values->show = FALSE;
}
