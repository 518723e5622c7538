// contactsheet DATA.bar OUT.png: the content contact sheet (tools/contact_sheet/contact_sheet.h).
#include "tools/contact_sheet/contact_sheet.h"

int main(int argc, char** argv) { return tools::runContactSheet(argc, argv); }
