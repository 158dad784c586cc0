#include "tests/fixed_client_size.h"

#include "app/dialog_template.h"
#include "view/host.h"

int client_width = view_client_width();
int client_height = view_client_height();
int client_size_asks = 0;

void get_client_size(const ViewState&, int& width, int& height) {
    ++client_size_asks;
    width = client_width;
    height = client_height;
}
