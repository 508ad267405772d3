# Vexo's one version, kept beside the manipulator so that its folder, copied into another project
# alone, still knows its own. The program, the library, the manual page, the AppStream metadata,
# the Windows resources and <vexo/manipulator_version.h> all take it from here; the Debian
# changelog's latest entry is checked against it.
set(VEXO_VERSION 1.1.0)
