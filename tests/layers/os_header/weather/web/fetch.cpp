#include "weather/web/fetch.h"
  #  include <sys/socket.h>
