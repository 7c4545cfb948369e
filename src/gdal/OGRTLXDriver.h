// The entry point GDAL calls when it loads the plugin ogr_TLX.so.
#pragma once

extern "C" __attribute__((visibility("default"))) void RegisterOGRTLX();
