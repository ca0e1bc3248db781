#include "FolderOpenCall.h"

#include <gio/gio.h>

#define QB_APPLICATION_NAME "Quillbay.Application"
#define QB_APPLICATION_PATH "/Quillbay/Application"
#define QB_APPLICATION_INTERFACE "Quillbay.Application"

static void on_notified(GObject *source, GAsyncResult *result, gpointer data)
{
    gchar *text = data;
    GError *error = NULL;
    GVariant *reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
    if (reply != NULL) {
        g_variant_unref(reply);
    } else {
        /* Without a notification service the message still reaches the file
         * manager's log. */
        g_warning("%s", text);
        g_error_free(error);
    }
    g_free(text);
}

/* Shows "Error: " and the message. Without a bus it can only be logged. */
static void show_error(GDBusConnection *bus, const gchar *message)
{
    gchar *text = g_strconcat("Error: ", message, NULL);
    if (bus == NULL) {
        g_warning("%s", text);
        g_free(text);
        return;
    }
    GVariant *arguments =
        g_variant_new("(susss@as@a{sv}i)", "QuillbayMenu", 0u, "dialog-information", text, "",
                      g_variant_new_strv(NULL, 0), g_variant_new_array(G_VARIANT_TYPE("{sv}"), NULL, 0), -1);
    g_dbus_connection_call(bus, "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                           "org.freedesktop.Notifications", "Notify", arguments, G_VARIANT_TYPE("(u)"),
                           G_DBUS_CALL_FLAGS_NONE, -1, NULL, on_notified, text);
}

static void on_folder_opened(GObject *source, GAsyncResult *result, gpointer data)
{
    (void)data;
    GDBusConnection *bus = G_DBUS_CONNECTION(source);
    GError *error = NULL;
    GVariant *reply = g_dbus_connection_call_finish(bus, result, &error);
    if (reply != NULL) {
        g_variant_unref(reply);
        return;
    }
    g_dbus_error_strip_remote_error(error);
    show_error(bus, error->message);
    g_error_free(error);
}

static void on_bus(GObject *source, GAsyncResult *result, gpointer data)
{
    (void)source;
    gchar *path = data;
    GError *error = NULL;
    GDBusConnection *bus = g_bus_get_finish(result, &error);
    if (bus == NULL) {
        show_error(NULL, error->message);
        g_error_free(error);
    } else if (!g_utf8_validate(path, -1, NULL)) {
        /* The bus carries text only; a name in another encoding cannot be
         * handed over unchanged. */
        show_error(bus, "The folder's path is not valid UTF-8 text and cannot be passed on.");
    } else {
        /* No time limit: the answer comes when the user closes the dialog.
         * Auto-start stays allowed, so the bus starts the program. */
        g_dbus_connection_call(bus, QB_APPLICATION_NAME, QB_APPLICATION_PATH, QB_APPLICATION_INTERFACE, "FolderOpen",
                               g_variant_new("(si)", path, 0), G_VARIANT_TYPE("()"), G_DBUS_CALL_FLAGS_NONE, G_MAXINT,
                               NULL, on_folder_opened, NULL);
    }
    g_clear_object(&bus);
    g_free(path);
}

void qb_folder_open_call(const gchar *path)
{
    g_bus_get(G_BUS_TYPE_SESSION, NULL, on_bus, g_strdup(path));
}
