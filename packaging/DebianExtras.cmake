# Run by CPack after the install into its staging tree: Debian wants its changelog in every
# package's doc directory; a user's own install has no use for it.
file(GLOB staged_doc_dirs LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/usr/share/doc/torvel-room")
if(NOT staged_doc_dirs)
  message(FATAL_ERROR "no doc directory under ${CPACK_TEMPORARY_DIRECTORY}")
endif()
file(COPY "${CPACK_TORVEL_CHANGELOG}" DESTINATION "${staged_doc_dirs}")
file(MAKE_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}/usr/share/lintian/overrides")
file(COPY_FILE "${CPACK_TORVEL_LINTIAN_OVERRIDES}"
     "${CPACK_TEMPORARY_DIRECTORY}/usr/share/lintian/overrides/torvel-room")
