# The recorded clips, compiled into the program as bytes (the Windows build also carries them as resources).
add_library(tintal_clips INTERFACE)
