# Vexo's one version. The project, the manipulator library, the manual page, the AppStream
# metadata, the Windows resources and the version macros of <vexo/manipulator.h> all take it
# from here; the Debian changelog's latest entry is checked against it.
set(VEXO_VERSION 1.0.0)
