#pragma once

enum {
   CLAP_NAME_SIZE = 256,
   CLAP_PATH_SIZE = 1024,
};
