// The box module's bytes inside the opener's executable, read-only data that is not
// touched unless a message is shown.
#include "boxmodulepath.h" // generated: KELIDOR_BOX_MODULE_PATH

asm(".pushsection .rodata.kelidor_box_module, \"a\"\n"
    ".balign 64\n"
    ".globl kelidorBoxModule\n"
    ".hidden kelidorBoxModule\n"
    "kelidorBoxModule:\n"
    ".incbin \"" KELIDOR_BOX_MODULE_PATH "\"\n"
    ".globl kelidorBoxModuleEnd\n"
    ".hidden kelidorBoxModuleEnd\n"
    "kelidorBoxModuleEnd:\n"
    ".popsection\n");
