/* A C program built with nothing but `cc app.c $(pkg-config --cflags --libs zpv4870)`. */
#include <stdio.h>

#include "zpv4870.h"

int main(void) {
    ViSession vi = 0;
    ViChar model[64];
    if (ZPV4870_InitWithOptions("", VI_TRUE, VI_FALSE, "Simulate=true, DriverSetup=Model=ZPV-4816-Standard", &vi) !=
        VI_SUCCESS)
        return 1;
    if (ZPV4870_GetAttributeViString(vi, NULL, ZPV4870_ATTR_INSTRUMENT_MODEL, sizeof model, model) != VI_SUCCESS)
        return 1;
    printf("model %s\n", model);
    return ZPV4870_close(vi) == VI_SUCCESS ? 0 : 1;
}
