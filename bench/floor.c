/* The floor the benchmarks compare the browser with: the smallest program on
 * the same stack. One 649 x 447 window holding one web view with the engine's
 * default settings and default context, opening the address given as argv[1].
 * The window is presented, so that it has the focus as the browser's has: the
 * engine keeps more memory for the page of an active window than of an
 * inactive one.
 *
 * So that the benchmark can open further pages the way it does in the
 * browser (there by typing into the Address box), the floor reads lines from
 * its standard input: "load ADDRESS" opens ADDRESS with
 * webkit_web_view_load_uri(). Nothing else is read or done; an idle stdin
 * costs nothing. End of input leaves the window as it is. */

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <stdio.h>
#include <string.h>

static gboolean on_input(GIOChannel* channel, GIOCondition condition, gpointer data)
{
    WebKitWebView* view = WEBKIT_WEB_VIEW(data);
    if (condition & G_IO_IN) {
        gchar* line = NULL;
        gsize length = 0;
        GIOStatus status = g_io_channel_read_line(channel, &line, &length, NULL, NULL);
        if (status == G_IO_STATUS_NORMAL && line) {
            g_strchomp(line);
            if (g_str_has_prefix(line, "load "))
                webkit_web_view_load_uri(view, line + strlen("load "));
        }
        g_free(line);
        if (status == G_IO_STATUS_NORMAL || status == G_IO_STATUS_AGAIN)
            return G_SOURCE_CONTINUE;
    }
    return G_SOURCE_REMOVE; /* end of input or an error: stop watching */
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: floor ADDRESS   (then \"load ADDRESS\" lines on stdin)\n");
        return 2;
    }
    gtk_init(&argc, &argv);

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 649, 447);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);

    GtkWidget* view = webkit_web_view_new();
    gtk_container_add(GTK_CONTAINER(window), view);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), argv[1]);
    gtk_widget_show_all(window);
    /* As any program presents its main window: shown and given the focus. */
    gtk_window_present(GTK_WINDOW(window));

    GIOChannel* input = g_io_channel_unix_new(0);
    g_io_add_watch(input, G_IO_IN | G_IO_HUP | G_IO_ERR, on_input, view);
    g_io_channel_unref(input);

    gtk_main();
    return 0;
}
