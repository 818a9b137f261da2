# Copies the installation data of share/ into the staged tree:
# share/icons -> icons/, share/help -> help/, share/quarl.ini -> main/.
foreach(sub icons help)
  if(EXISTS ${SRC}/${sub})
    file(COPY ${SRC}/${sub}/ DESTINATION ${DST}/${sub})
  endif()
endforeach()
if(EXISTS ${SRC}/quarl.ini)
  file(COPY ${SRC}/quarl.ini DESTINATION ${DST}/main)
endif()
