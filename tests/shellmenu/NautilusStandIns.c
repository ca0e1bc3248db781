#include "NautilusStandIns.h"

#include <gmodule.h>

/* ---- The type module: loads the extension and runs its entry points. ---- */

typedef struct {
    GTypeModule parent_instance;
    char *path;
    GModule *library;
    char *error;
    void (*initialize)(GTypeModule *module);
    void (*shutdown)(void);
    void (*list_types)(const GType **types, int *count);
} QbExtensionModule;

typedef struct {
    GTypeModuleClass parent_class;
} QbExtensionModuleClass;

G_DEFINE_TYPE(QbExtensionModule, qb_extension_module, G_TYPE_TYPE_MODULE)

static gboolean find_symbol(QbExtensionModule *self, const char *name, gpointer *symbol)
{
    if (g_module_symbol(self->library, name, symbol) && *symbol != NULL)
        return TRUE;
    self->error = g_strdup_printf("the extension has no %s", name);
    return FALSE;
}

static gboolean module_load(GTypeModule *module)
{
    QbExtensionModule *self = (QbExtensionModule *)module;
    self->library = g_module_open(self->path, G_MODULE_BIND_LAZY | G_MODULE_BIND_LOCAL);
    if (self->library == NULL) {
        self->error = g_strdup(g_module_error());
        return FALSE;
    }
    if (!find_symbol(self, "nautilus_module_initialize", (gpointer *)&self->initialize)
        || !find_symbol(self, "nautilus_module_shutdown", (gpointer *)&self->shutdown)
        || !find_symbol(self, "nautilus_module_list_types", (gpointer *)&self->list_types)) {
        g_module_close(self->library);
        self->library = NULL;
        return FALSE;
    }
    /* As Nautilus does: its types stay registered for the life of the process. */
    g_module_make_resident(self->library);
    self->initialize(module);
    return TRUE;
}

static void module_unload(GTypeModule *module)
{
    QbExtensionModule *self = (QbExtensionModule *)module;
    self->shutdown();
}

static void qb_extension_module_class_init(QbExtensionModuleClass *klass)
{
    GTypeModuleClass *module_class = G_TYPE_MODULE_CLASS(klass);
    module_class->load = module_load;
    module_class->unload = module_unload;
}

static void qb_extension_module_init(QbExtensionModule *self)
{
    (void)self;
}

GTypeModule *qb_extension_module_load(const char *path, char **error)
{
    QbExtensionModule *self = g_object_new(qb_extension_module_get_type(), NULL);
    self->path = g_strdup(path);
    if (!g_type_module_use(G_TYPE_MODULE(self))) {
        *error = g_strdup(self->error != NULL ? self->error : "the extension does not load");
        return NULL; /* a type module is never finalized */
    }
    return G_TYPE_MODULE(self);
}

void qb_extension_module_types(GTypeModule *module, const GType **types, int *count)
{
    ((QbExtensionModule *)module)->list_types(types, count);
}

/* ---- The file-info stand-in. ---- */

typedef struct {
    GObject parent_instance;
    GFile *location;
    gboolean directory;
} QbFakeFileInfo;

typedef struct {
    GObjectClass parent_class;
} QbFakeFileInfoClass;

static void file_info_interface_init(NautilusFileInfoInterface *iface);

G_DEFINE_TYPE_WITH_CODE(QbFakeFileInfo, qb_fake_file_info, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(NAUTILUS_TYPE_FILE_INFO, file_info_interface_init))

#define FAKE(info) ((QbFakeFileInfo *)(info))

static gboolean is_gone(NautilusFileInfo *info)
{
    (void)info;
    return FALSE;
}
static char *get_name(NautilusFileInfo *info)
{
    return g_file_get_basename(FAKE(info)->location);
}
static char *get_uri(NautilusFileInfo *info)
{
    return g_file_get_uri(FAKE(info)->location);
}
static char *get_uri_scheme(NautilusFileInfo *info)
{
    return g_file_get_uri_scheme(FAKE(info)->location);
}
static GFile *get_location(NautilusFileInfo *info)
{
    return g_object_ref(FAKE(info)->location);
}
static GFile *get_parent_location(NautilusFileInfo *info)
{
    return g_file_get_parent(FAKE(info)->location);
}
static gboolean is_directory(NautilusFileInfo *info)
{
    return FAKE(info)->directory;
}
static gboolean can_write(NautilusFileInfo *info)
{
    (void)info;
    return TRUE;
}
static NautilusFileInfo *get_parent_info(NautilusFileInfo *info)
{
    (void)info;
    return NULL;
}
static GMount *get_mount(NautilusFileInfo *info)
{
    (void)info;
    return NULL;
}
static void invalidate(NautilusFileInfo *info)
{
    (void)info;
}

static char *get_parent_uri(NautilusFileInfo *info)
{
    GFile *parent = g_file_get_parent(FAKE(info)->location);
    char *uri = parent != NULL ? g_file_get_uri(parent) : g_strdup("");
    g_clear_object(&parent);
    return uri;
}

static char *get_mime_type(NautilusFileInfo *info)
{
    return g_strdup(FAKE(info)->directory ? "inode/directory" : "application/octet-stream");
}

static gboolean is_mime_type(NautilusFileInfo *info, const char *mime_type)
{
    char *own = get_mime_type(info);
    const gboolean same = g_content_type_is_a(own, mime_type);
    g_free(own);
    return same;
}

static GFileType get_file_type(NautilusFileInfo *info)
{
    return FAKE(info)->directory ? G_FILE_TYPE_DIRECTORY : G_FILE_TYPE_REGULAR;
}

static void add_emblem(NautilusFileInfo *info, const char *emblem)
{
    (void)info;
    (void)emblem;
}
static char *get_string_attribute(NautilusFileInfo *info, const char *name)
{
    (void)info;
    (void)name;
    return NULL;
}
static void add_string_attribute(NautilusFileInfo *info, const char *name, const char *value)
{
    (void)info;
    (void)name;
    (void)value;
}

static void file_info_interface_init(NautilusFileInfoInterface *iface)
{
    iface->is_gone = is_gone;
    iface->get_name = get_name;
    iface->get_uri = get_uri;
    iface->get_parent_uri = get_parent_uri;
    iface->get_uri_scheme = get_uri_scheme;
    iface->get_mime_type = get_mime_type;
    iface->is_mime_type = is_mime_type;
    iface->is_directory = is_directory;
    iface->add_emblem = add_emblem;
    iface->get_string_attribute = get_string_attribute;
    iface->add_string_attribute = add_string_attribute;
    iface->invalidate_extension_info = invalidate;
    iface->get_activation_uri = get_uri;
    iface->get_file_type = get_file_type;
    iface->get_location = get_location;
    iface->get_parent_location = get_parent_location;
    iface->get_parent_info = get_parent_info;
    iface->get_mount = get_mount;
    iface->can_write = can_write;
}

static void fake_file_info_finalize(GObject *object)
{
    g_clear_object(&FAKE(object)->location);
    G_OBJECT_CLASS(qb_fake_file_info_parent_class)->finalize(object);
}

static void qb_fake_file_info_class_init(QbFakeFileInfoClass *klass)
{
    G_OBJECT_CLASS(klass)->finalize = fake_file_info_finalize;
}

static void qb_fake_file_info_init(QbFakeFileInfo *self)
{
    (void)self;
}

NautilusFileInfo *qb_fake_file_info_new(const char *location_uri, gboolean directory)
{
    QbFakeFileInfo *info = g_object_new(qb_fake_file_info_get_type(), NULL);
    info->location = g_file_new_for_uri(location_uri);
    info->directory = directory;
    return NAUTILUS_FILE_INFO(info);
}
