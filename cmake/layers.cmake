# The layers of src/, low to high, each a list of folders. A file includes headers of its own layer and
# of lower ones only; a layer with a SEES list includes only those lower layers. Code of one system never
# includes the other's. cmake/layer_check.cmake enforces it on every build; it reads this file in script
# mode, so keep it free of targets.
set(TINTAL_LAYERS base platform widgets weather core radio config shell adapters ui app)
set(TINTAL_LAYER_FOLDERS_base base)
# The ports and portable platform code; the adapter folders under it are a layer of their own.
set(TINTAL_LAYER_FOLDERS_platform platform)
set(TINTAL_LAYER_FOLDERS_widgets widgets)
set(TINTAL_LAYER_FOLDERS_weather weather weather/stations weather/web)
set(TINTAL_LAYER_FOLDERS_core core)
set(TINTAL_LAYER_FOLDERS_radio radio)
set(TINTAL_LAYER_FOLDERS_config config)
set(TINTAL_LAYER_FOLDERS_shell shell)
set(TINTAL_LAYER_FOLDERS_adapters platform/posix platform/win32)
# An adapter implements ports: it stands on them and on base, never on what the portable layers build.
set(TINTAL_LAYER_SEES_adapters base platform)
set(TINTAL_LAYER_FOLDERS_ui ui/win32)
set(TINTAL_LAYER_FOLDERS_app app)
# Layers up to this one are portable: no operating-system header.
set(TINTAL_LAST_PORTABLE_LAYER shell)
# The files of each system, by path under src/.
set(TINTAL_SYSTEMS posix win32)
set(TINTAL_SYSTEM_PATHS_posix "^platform/posix/" "^app/posix_")
set(TINTAL_SYSTEM_PATHS_win32 "^platform/win32/" "^ui/win32/" "^app/win32_")
