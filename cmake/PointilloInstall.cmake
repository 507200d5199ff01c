# pointillo_install_configured(<template> <destination> <name>)
# Installs <template> as <destination>/<name> with @BINDIR@ replaced by the folder the programs
# are installed to and @SERVERDIR@ by the font server's (<libexec>/pointillo).  Those folders are
# known only when installing: `cmake --install --prefix P` may name another prefix than the one
# configured.
function(pointillo_install_configured template destination name)
    install(CODE "
        set(BINDIR \"${CMAKE_INSTALL_BINDIR}\")
        if(NOT IS_ABSOLUTE \"\${BINDIR}\")
            set(BINDIR \"\${CMAKE_INSTALL_PREFIX}/\${BINDIR}\")
        endif()
        set(SERVERDIR \"${CMAKE_INSTALL_LIBEXECDIR}/pointillo\")
        if(NOT IS_ABSOLUTE \"\${SERVERDIR}\")
            set(SERVERDIR \"\${CMAKE_INSTALL_PREFIX}/\${SERVERDIR}\")
        endif()
        set(to \"${destination}\")
        if(NOT IS_ABSOLUTE \"\${to}\")
            set(to \"\${CMAKE_INSTALL_PREFIX}/\${to}\")
        endif()
        # Staged per destination: installs into two prefixes may run at once.
        string(MD5 key \"\$ENV{DESTDIR}\${to}\")
        set(staged \"${CMAKE_CURRENT_BINARY_DIR}/installed/\${key}/${name}\")
        configure_file(\"${template}\" \"\${staged}\" @ONLY)
        file(INSTALL \"\${staged}\" DESTINATION \"\${to}\")
    ")
endfunction()
