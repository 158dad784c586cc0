// The view window in the browser is the page's canvas; its client size is
// the canvas's backing store, in device pixels.

#include <emscripten.h>

#include "view/host.h"

EM_JS(int, canvas_width, (), { return Module['canvas'] ? Module['canvas'].width : 0; });
EM_JS(int, canvas_height, (), { return Module['canvas'] ? Module['canvas'].height : 0; });

void get_client_size(const ViewState&, int& width, int& height) {
    width = canvas_width();
    height = canvas_height();
}
