#include "MenuLabel.h"

#include <string.h>

gchar *qb_menu_label_from_title(const gchar *title)
{
    GString *label = g_string_sized_new(strlen(title) + 2);
    for (const gchar *p = title; *p != '\0'; ++p) {
        if (*p == '_') {
            g_string_append(label, "__");
        } else if (*p == '&' && p[1] == '&') {
            g_string_append_c(label, '&');
            ++p;
        } else if (*p == '&' && p[1] != '\0') {
            g_string_append_c(label, '_');
        } else {
            g_string_append_c(label, *p);
        }
    }
    return g_string_free(label, FALSE);
}
