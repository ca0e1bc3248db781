#pragma once
/* The menu title as the main program writes it marks its access key with "&"
 * before the letter ("Quill&bay the Renamer"), as menus on the desktop
 * platform do; GTK menus mark it with "_" instead. */

#include <glib.h>

G_BEGIN_DECLS

/* "&x" becomes "_x", "&&" a plain "&", and every "_" of the title is doubled
 * so that it shows as itself. Free with g_free. */
gchar *qb_menu_label_from_title(const gchar *title);

G_END_DECLS
