include(GNUInstallDirs)

# Fills the version into a document's template and compresses the result, as Debian keeps man
# pages and changelogs; sets <result> to the compressed file.
function(qdax_compressed_doc template result)
    get_filename_component(name ${template} NAME_WLE)
    set(configured ${CMAKE_CURRENT_BINARY_DIR}/${name})
    configure_file(${template} ${configured} @ONLY)
    add_custom_command(OUTPUT ${configured}.gz
        COMMAND gzip -9nf -k ${configured}
        DEPENDS ${configured}
        VERBATIM)
    add_custom_target(doc_${name} ALL DEPENDS ${configured}.gz)
    set(${result} ${configured}.gz PARENT_SCOPE)
endfunction()

function(qdax_install_man_page template)
    qdax_compressed_doc(${template} page)
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
