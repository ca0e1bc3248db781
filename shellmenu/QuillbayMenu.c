/* QuillbayMenu: the file manager's folder context menu command that hands the
 * folder to Quillbay the Renamer. A Nautilus extension in plain C and GLib:
 * nothing of Qt is loaded into the file manager.
 *
 * Whether the command is shown, its title and its help text come from the
 * registry stand-in that the main program writes from its options, read anew
 * every time a menu is built. */

#include "FolderOpenCall.h"
#include "MenuLabel.h"
#include "RegistryReader.h"

#include <gmodule.h>
#include <nautilus-extension.h>

#define QUILLBAY_TYPE_CONTEXT_MENU (quillbay_context_menu_get_type())
G_DECLARE_FINAL_TYPE(QuillbayContextMenu, quillbay_context_menu, QUILLBAY, CONTEXT_MENU, GObject)

struct _QuillbayContextMenu {
    GObject parent_instance;
};

static void quillbay_context_menu_provider_init(NautilusMenuProviderInterface *iface);

G_DEFINE_DYNAMIC_TYPE_EXTENDED(QuillbayContextMenu, quillbay_context_menu, G_TYPE_OBJECT, 0,
                               G_IMPLEMENT_INTERFACE_DYNAMIC(NAUTILUS_TYPE_MENU_PROVIDER,
                                                             quillbay_context_menu_provider_init))

static void quillbay_context_menu_init(QuillbayContextMenu *self)
{
    (void)self;
}
static void quillbay_context_menu_class_init(QuillbayContextMenuClass *klass)
{
    (void)klass;
}
static void quillbay_context_menu_class_finalize(QuillbayContextMenuClass *klass)
{
    (void)klass;
}

/* The local path of a folder; NULL for a file, or a folder that has no local
 * path (a remote location, the trash), which the main program could not use. */
static gchar *local_folder_path(NautilusFileInfo *info)
{
    if (info == NULL || !nautilus_file_info_is_directory(info))
        return NULL;
    GFile *location = nautilus_file_info_get_location(info);
    gchar *path = location != NULL ? g_file_get_path(location) : NULL;
    g_clear_object(&location);
    return path;
}

static void free_path(gpointer path, GClosure *closure)
{
    (void)closure;
    g_free(path);
}

static void on_activate(NautilusMenuItem *item, gpointer path)
{
    (void)item;
    qb_folder_open_call(path);
}

/* The one menu item for the folder, or nothing when the options hide it. */
static GList *menu_items_for(const gchar *path)
{
    gchar *registry = qb_registry_default_file_path();
    QbFolderMenuValues values;
    qb_folder_menu_values_read(registry, &values);
    g_free(registry);
    GList *items = NULL;
    if (values.show) {
        gchar *label = qb_menu_label_from_title(values.title);
        NautilusMenuItem *item = nautilus_menu_item_new("QuillbayMenu::FolderOpen", label, values.help, NULL);
        g_signal_connect_data(item, "activate", G_CALLBACK(on_activate), g_strdup(path), free_path, 0);
        items = g_list_append(NULL, item);
        g_free(label);
    }
    qb_folder_menu_values_clear(&values);
    return items;
}

/* Only the first folder of the selection counts. */
static GList *get_file_items(NautilusMenuProvider *provider, GList *files)
{
    (void)provider;
    for (GList *file = files; file != NULL; file = file->next) {
        gchar *path = local_folder_path(NAUTILUS_FILE_INFO(file->data));
        if (path != NULL) {
            GList *items = menu_items_for(path);
            g_free(path);
            return items;
        }
    }
    return NULL;
}

/* A click on the empty space of a folder's view offers the command for that folder. */
static GList *get_background_items(NautilusMenuProvider *provider, NautilusFileInfo *current_folder)
{
    (void)provider;
    gchar *path = local_folder_path(current_folder);
    GList *items = path != NULL ? menu_items_for(path) : NULL;
    g_free(path);
    return items;
}

static void quillbay_context_menu_provider_init(NautilusMenuProviderInterface *iface)
{
    iface->get_file_items = get_file_items;
    iface->get_background_items = get_background_items;
}

static GType provider_types[1];

G_MODULE_EXPORT void nautilus_module_initialize(GTypeModule *module)
{
    quillbay_context_menu_register_type(module);
    provider_types[0] = QUILLBAY_TYPE_CONTEXT_MENU;
}

G_MODULE_EXPORT void nautilus_module_shutdown(void) {}

G_MODULE_EXPORT void nautilus_module_list_types(const GType **types, int *num_types)
{
    *types = provider_types;
    *num_types = G_N_ELEMENTS(provider_types);
}
