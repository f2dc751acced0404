<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>Buttons</name>
    <message>
        <source>Add to USB Drive</source>
        <translation>Añadir al USB</translation>
    </message>
    <message>
        <source>Auto-Check USB Drive</source>
        <translation>Detectar USB</translation>
    </message>
    <message>
        <source>Auto-Generate</source>
        <translation>Autogenerar</translation>
    </message>
    <message>
        <source>Browse </source>
        <translation>Examinar </translation>
    </message>
    <message>
        <source>Clear Fields</source>
        <translation>Borrar campos</translation>
    </message>
    <message>
        <source>Cloud Midi </source>
        <translation>MIDI </translation>
    </message>
    <message>
        <source>Cloud Songs</source>
        <translation>Canciones</translation>
    </message>
    <message>
        <source>Export Song List</source>
        <translation>Exportar lista</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Vista previa</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimir</translation>
    </message>
    <message>
        <source>Queue to Add</source>
        <translation>A la cola</translation>
    </message>
    <message>
        <source>Revise</source>
        <translation>Modificar</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Marcar todo</translation>
    </message>
    <message>
        <source>Select USB Drive</source>
        <translation>Elegir USB</translation>
    </message>
    <message>
        <source>Eject USB Drive</source>
        <translation>Expulsar USB</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>search the cloud catalogue copied onto the device</source>
        <translation>buscar en el catálogo de la nube copiado en el dispositivo</translation>
    </message>
    <message>
        <source>Lists the songs of the cloud catalogue on the device (songs/Msong.db) whose
title or artist starts with TEXT (letters in any case), one per line:
number, language, title, artist, and &quot;on device&quot; when the device has it.
</source>
        <translation>Muestra las canciones del catálogo de la nube que hay en el dispositivo (songs/Msong.db)
cuyo título o artista empieza por TEXT (sin distinguir mayúsculas), una por línea:
número, idioma, título, artista y &quot;on device&quot; cuando el dispositivo la tiene.
</translation>
    </message>
    <message>
        <source>the songs&apos; language (default all)</source>
        <translation>el idioma de las canciones (por omisión, all)</translation>
    </message>
    <message>
        <source>the song number, 900000 to 999999</source>
        <translation>el número de la canción, de 900000 a 999999</translation>
    </message>
    <message>
        <source>the title</source>
        <translation>el título</translation>
    </message>
    <message>
        <source>the artist</source>
        <translation>el artista</translation>
    </message>
    <message>
        <source>the composer</source>
        <translation>el compositor</translation>
    </message>
    <message>
        <source>the lyricist</source>
        <translation>el letrista</translation>
    </message>
    <message>
        <source>list songs without media files and media files without songs</source>
        <translation>mostrar canciones sin archivo multimedia y archivos multimedia sin canción</translation>
    </message>
    <message>
        <source>Manages the songs on the USB stick of a karaoke player: the device&apos;s song list, its catalogue,
user songs, the cloud catalogue and the MIDI song pack.
</source>
        <translation>Gestiona las canciones de la memoria USB de un reproductor de karaoke: la lista de canciones
del dispositivo, su catálogo, las canciones propias, el catálogo de la nube y el paquete MIDI.
</translation>
    </message>
    <message>
        <source>DEVICE is the device root, the folder that holds songs/ (for a stick, its mount point).
Without DEVICE the stick is found as the window&apos;s &quot;Auto-Check USB Drive&quot; finds it (see
`songloader-cli devices`), and named on standard error. A folder inside a removable or USB
volume stands for the volume&apos;s mount point. A bare number is never taken as DEVICE.

Settings, strongest first:
  --cloud-url, SONGLOADER_CLOUD_URL, the settings file&apos;s cloud-url, the built-in address;
  --encoding, the settings file&apos;s encoding, the code page the locale implies.
The settings file is $XDG_CONFIG_HOME/songloader/songloader.conf (~/.config/songloader/ when
XDG_CONFIG_HOME is unset), lines of &quot;key = value&quot;; `songloader-cli config` shows what is in effect.
SONGLOADER_MOUNTINFO, SONGLOADER_SYSFS and SONGLOADER_MOUNT_ROOTS (folders separated by &quot;:&quot;)
replace /proc/self/mountinfo, /sys and /media:/run/media:/mnt for tests and diagnosis.

Results go to standard output, messages to standard error; progress is shown on standard
error when it is a terminal (--quiet turns it off). Exit status: 0 done, 1 failed, 2 usage error.
</source>
        <translation>DEVICE es la raíz del dispositivo, la carpeta que contiene songs/ (en una memoria, su punto
de montaje). Sin DEVICE, la memoria se busca como la encuentra &quot;Auto-Check USB Drive&quot; en la
ventana (vea `songloader-cli devices`) y se nombra en la salida de errores. Una carpeta dentro
de un volumen extraíble o USB vale por el punto de montaje del volumen. Un número solo nunca
se toma como DEVICE.

Ajustes, del que más manda al que menos:
  --cloud-url, SONGLOADER_CLOUD_URL, cloud-url del archivo de ajustes, la dirección incorporada;
  --encoding, encoding del archivo de ajustes, la página de códigos que implica el locale.
El archivo de ajustes es $XDG_CONFIG_HOME/songloader/songloader.conf (~/.config/songloader/
si XDG_CONFIG_HOME no está definida), con líneas &quot;clave = valor&quot;; `songloader-cli config`
muestra lo que está en vigor.
SONGLOADER_MOUNTINFO, SONGLOADER_SYSFS y SONGLOADER_MOUNT_ROOTS (carpetas separadas por &quot;:&quot;)
sustituyen a /proc/self/mountinfo, /sys y /media:/run/media:/mnt para pruebas y diagnóstico.

Los resultados van a la salida estándar y los mensajes a la salida de errores; el progreso se
muestra en la salida de errores cuando es un terminal (--quiet lo quita). Estado de salida:
0 hecho, 1 fallo, 2 error de uso.
</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Órdenes</translation>
    </message>
    <message>
        <source>print this help</source>
        <translation>mostrar esta ayuda</translation>
    </message>
    <message>
        <source>describe a command</source>
        <translation>describir una orden</translation>
    </message>
    <message>
        <source>Prints the help of COMMAND, the same text as `songloader-cli COMMAND --help`;
without COMMAND the help of the program.
</source>
        <translation>Muestra la ayuda de COMMAND, el mismo texto que `songloader-cli COMMAND --help`;
sin COMMAND, la ayuda del programa.
</translation>
    </message>
    <message>
        <source>show no progress</source>
        <translation>no mostrar el progreso</translation>
    </message>
    <message>
        <source>the device&apos;s code page, e.g. CP936; default: the settings file&apos;s encoding, else the one the locale implies</source>
        <translation>la página de códigos del dispositivo, p. ej. CP936; por omisión: encoding del archivo de ajustes, si no, la que implica el locale</translation>
    </message>
    <message>
        <source>the cloud server&apos;s base address; default: SONGLOADER_CLOUD_URL, else the settings file&apos;s cloud-url, else the built-in one</source>
        <translation>la dirección base del servidor de la nube; por omisión: SONGLOADER_CLOUD_URL, si no, cloud-url del archivo de ajustes, si no, la incorporada</translation>
    </message>
    <message>
        <source>remove a song and its media files from the device</source>
        <translation>quitar del dispositivo una canción y sus archivos multimedia</translation>
    </message>
    <message>
        <source>Records the delete on the device, removes the media files of the song NUMBER
(every NUMBER.* in its folder), then writes the catalogue without it; works on
a full device. An interrupted delete is finished by the next writing command.
</source>
        <translation>Anota el borrado en el dispositivo, quita los archivos multimedia de la canción
NUMBER (todos los NUMBER.* de su carpeta) y luego escribe el catálogo sin ella;
funciona con el dispositivo lleno. La siguiente orden que escriba termina un
borrado interrumpido.
</translation>
    </message>
    <message>
        <source>flush the device, then unmount it and power it off for safe removal</source>
        <translation>vaciar los búferes del dispositivo, desmontarlo y apagarlo para quitarlo con seguridad</translation>
    </message>
    <message>
        <source>Flushes the file system of the volume that holds DEVICE (without DEVICE: the
device the automatic search finds), then unmounts it and powers its drive off
through the system&apos;s disk service, so that it can be pulled out safely.
</source>
        <translation>Vacía los búferes del sistema de archivos del volumen que contiene DEVICE (sin
DEVICE: el dispositivo que encuentra la búsqueda automática), luego lo desmonta y
apaga su unidad mediante el servicio de discos del sistema, para poder quitarla
con seguridad.
</translation>
    </message>
    <message>
        <source>show the settings in effect and where each came from</source>
        <translation>mostrar los ajustes en vigor y de dónde viene cada uno</translation>
    </message>
    <message>
        <source>Prints each setting, one a line, tab-separated: its key, its value, and where it
came from (command line, environment, settings file, locale or built in).
The settings file is $XDG_CONFIG_HOME/songloader/songloader.conf (default
~/.config/songloader/songloader.conf), lines of &quot;key = value&quot;; lines starting
with # are comments. Its keys:
  cloud-url            the cloud server&apos;s address
  encoding             the code page of the names on the device (e.g. CP1252)
  player-video-codecs  the video codecs the player plays, as ffmpeg names them
  player-audio-codecs  the audio codecs the player plays, likewise (AAC-LC: aac-lc)
  player-max-size      the largest picture the player shows, like 1920x1080
  converter            the ffmpeg program that converts what the player cannot
                       play (SONGLOADER_FFMPEG goes first; built in: ffmpeg
                       on PATH, - when there is none)
A song whose codecs or picture are not the player&apos;s is converted (--convert).
</source>
        <translation>Muestra cada ajuste, uno por línea, separado por tabuladores: su clave, su valor y
de dónde viene (línea de órdenes, entorno, archivo de ajustes, locale o incorporado).
El archivo de ajustes es $XDG_CONFIG_HOME/songloader/songloader.conf (por omisión
~/.config/songloader/songloader.conf), con líneas &quot;clave = valor&quot;; las líneas que
empiezan por # son comentarios. Sus claves:
  cloud-url            la dirección del servidor de la nube
  encoding             la página de códigos de los nombres en el dispositivo (p. ej. CP1252)
  player-video-codecs  los códecs de vídeo del reproductor, con los nombres de ffmpeg
  player-audio-codecs  los códecs de audio que reproduce, igual (AAC-LC: aac-lc)
  player-max-size      la imagen más grande que muestra, como 1920x1080
  converter            el programa ffmpeg que convierte lo que el reproductor no puede
                       reproducir (SONGLOADER_FFMPEG va primero; incorporado: ffmpeg
                       en PATH, - si no hay ninguno)
Una canción cuyos códecs o imagen no son los del reproductor se convierte (--convert).
</translation>
    </message>
    <message>
        <source>list the volumes that can be the device</source>
        <translation>mostrar los volúmenes que pueden ser el dispositivo</translation>
    </message>
    <message>
        <source>Lists the mounted volumes the automatic search considers, one a line, tab-separated:
a * for the one it chooses (the one commands take without DEVICE), the mount point,
the label, the size, removable or fixed (with usb for a disk on USB), and
songs/SgList.dat when the volume holds a song list, else -.
Exit 1 with &quot;Please insert device!!&quot; when it would choose none.
</source>
        <translation>Muestra los volúmenes montados que tiene en cuenta la búsqueda automática, uno por
línea, separados por tabuladores: un * para el que elige (el que toman las órdenes
sin DEVICE), el punto de montaje, la etiqueta, el tamaño, removable o fixed (con usb
para un disco USB) y songs/SgList.dat cuando el volumen tiene una lista de canciones,
si no, -. Sale con 1 y &quot;Please insert device!!&quot; cuando no elegiría ninguno.
</translation>
    </message>
    <message>
        <source>copy a media file onto the device as a user song</source>
        <translation>copiar un archivo multimedia al dispositivo como canción propia</translation>
    </message>
    <message>
        <source>update the device&apos;s MIDI song pack from the cloud</source>
        <translation>actualizar desde la nube el paquete MIDI del dispositivo</translation>
    </message>
    <message>
        <source>Updates the MIDI song pack: DEVICE/midi/sglist.dat, sgmusic.dat, sgmsg.dat and
DEVICE/midisongsbook.pdf, in this order, each downloaded when its size differs
from the cloud&apos;s; the first file of unchanged size ends the update.
</source>
        <translation>Actualiza el paquete MIDI: DEVICE/midi/sglist.dat, sgmusic.dat, sgmsg.dat y
DEVICE/midisongsbook.pdf, en este orden, descargando cada uno cuando su tamaño no
coincide con el de la nube; el primer archivo de tamaño igual termina la actualización.
</translation>
    </message>
    <message>
        <source>print the device&apos;s songs</source>
        <translation>mostrar las canciones del dispositivo</translation>
    </message>
    <message>
        <source>Prints the device&apos;s songs, one per line, tab-separated:
number, language, title, artist, composer, lyricist (UTF-8).
</source>
        <translation>Muestra las canciones del dispositivo, una por línea, separadas por tabuladores:
número, idioma, título, artista, compositor, letrista (UTF-8).
</translation>
    </message>
    <message>
        <source>write the device&apos;s song list as an export file</source>
        <translation>escribir la lista de canciones del dispositivo en un archivo de exportación</translation>
    </message>
    <message>
        <source>Writes the device&apos;s song list to FILE as tab-separated text (LF line ends),
texts in the device&apos;s own bytes, ready for a spreadsheet.
</source>
        <translation>Escribe la lista de canciones del dispositivo en FILE como texto separado por
tabuladores (fines de línea LF), con los textos en los bytes propios del dispositivo,
listo para una hoja de cálculo.
</translation>
    </message>
    <message>
        <source>build the files of a cloud server from a song table</source>
        <translation>crear los archivos de un servidor de la nube a partir de una tabla de canciones</translation>
    </message>
    <message>
        <source>Builds the files of a cloud server in OUT from a UTF-8 table with one song per line and
seven TAB-separated fields: number, language (EG, CN, ES, FH, GN, IA, OPM, MA, HW, JP,
KR, VT, RU, AR, TH or Other), title, artist, composer, lyricist, media file (relative
to the table&apos;s folder). A first line starting with &quot;number&quot; is a header.
Writes OUT/MgList.dat, OUT/Msong.db and OUT/&lt;number&gt;.mp4 per song; with --midi-dir,
also the MIDI pack from DIR (sglist.dat, sgmusic.dat, sgmsg.dat, midisongsbook.pdf)
under the names the cloud uses. Any static HTTP server can then serve OUT.
Texts are stored in the device code page (see --encoding). Bad rows are
reported with their line number, and then nothing is written.
</source>
        <translation>Crea en OUT los archivos de un servidor de la nube a partir de una tabla UTF-8 con una
canción por línea y siete campos separados por TAB: número, idioma (EG, CN, ES, FH, GN,
IA, OPM, MA, HW, JP, KR, VT, RU, AR, TH u Other), título, artista, compositor, letrista,
archivo multimedia (relativo a la carpeta de la tabla). Una primera línea que empieza
por &quot;number&quot; es una cabecera.
Escribe OUT/MgList.dat, OUT/Msong.db y OUT/&lt;number&gt;.mp4 por canción; con --midi-dir,
también el paquete MIDI de DIR (sglist.dat, sgmusic.dat, sgmsg.dat, midisongsbook.pdf)
con los nombres que usa la nube. Después, cualquier servidor HTTP estático puede
servir OUT. Los textos se guardan en la página de códigos del dispositivo (vea
--encoding). Las filas erróneas se indican con su número de línea y entonces no se
escribe nada.
</translation>
    </message>
    <message>
        <source>also publish the MIDI pack found in DIR</source>
        <translation>publicar también el paquete MIDI que hay en DIR</translation>
    </message>
    <message>
        <source>print the device&apos;s song list into a PDF file</source>
        <translation>imprimir la lista de canciones del dispositivo en un archivo PDF</translation>
    </message>
    <message>
        <source>Prints the device&apos;s song list into a PDF file, portrait, 40 songs a page:
&quot;Page N&quot;, a rule and a table of number, title and artist.
</source>
        <translation>Imprime la lista de canciones del dispositivo en un archivo PDF, en vertical, 40
canciones por página: &quot;Page N&quot;, una línea y una tabla de número, título y artista.
</translation>
    </message>
    <message>
        <source>the paper size (default A4)</source>
        <translation>el tamaño del papel (por omisión, A4)</translation>
    </message>
    <message>
        <source>download the cloud song list and catalogue onto the device</source>
        <translation>descargar al dispositivo la lista de canciones y el catálogo de la nube</translation>
    </message>
    <message>
        <source>Downloads the cloud song list (MgList.dat) and the cloud catalogue (Msong.db)
into DEVICE/songs/ and tells how many cloud songs there are and how many of
them the device already holds. Both files are checked first; a failed
download or check keeps both old files. Ctrl-C stops it.
</source>
        <translation>Descarga la lista de canciones de la nube (MgList.dat) y el catálogo de la nube
(Msong.db) en DEVICE/songs/ e indica cuántas canciones hay en la nube y cuántas
tiene ya el dispositivo. Antes se comprueban los dos archivos; si una descarga o
una comprobación falla, se conservan los dos archivos antiguos. Ctrl-C la detiene.
</translation>
    </message>
    <message>
        <source>download cloud songs the device lacks and add them</source>
        <translation>descargar las canciones de la nube que le faltan al dispositivo y añadirlas</translation>
    </message>
    <message>
        <source>Downloads the videos of the given cloud songs that the device lacks into
DEVICE/songs/NNN/NUMBER.mp4, adds them with their titles and all from the cloud
list (run cloud-sync first) and rebuilds the device catalogue. Songs whose
download fails are named and not added. Ctrl-C cancels the running download.
</source>
        <translation>Descarga en DEVICE/songs/NNN/NUMBER.mp4 los vídeos de las canciones de la nube
indicadas que le faltan al dispositivo, las añade con sus títulos y demás datos de
la lista de la nube (ejecute antes cloud-sync) y reconstruye el catálogo del
dispositivo. Las canciones cuya descarga falla se nombran y no se añaden. Ctrl-C
cancela la descarga en curso.
</translation>
    </message>
    <message>
        <source>rebuild SgList.dat and usbsong.db from the device&apos;s song list</source>
        <translation>reconstruir SgList.dat y usbsong.db a partir de la lista de canciones del dispositivo</translation>
    </message>
    <message>
        <source>Reads songs/SgList.dat and writes SgList.dat and usbsong.db anew from it,
songs in the order read. An unchanged list gives the same bytes.
</source>
        <translation>Lee songs/SgList.dat y escribe de nuevo SgList.dat y usbsong.db a partir de ella,
con las canciones en el orden leído. Una lista sin cambios da los mismos bytes.
</translation>
    </message>
    <message>
        <source>change a song on the device</source>
        <translation>cambiar una canción del dispositivo</translation>
    </message>
    <message>
        <source>Changes the device&apos;s song NUMBER as the window&apos;s &quot;Revise&quot; does: the options given
replace its values, the others stay. A new --number must be free on the device and
passes the number box&apos;s checks; then every file of the song (NUMBER and NUMBER.*)
moves to the new number, all or none, and the catalogue is rebuilt. When a check or a
step fails, nothing on the device changes.
</source>
        <translation>Cambia la canción NUMBER del dispositivo como lo hace &quot;Revise&quot; en la ventana: las
opciones dadas sustituyen sus valores y los demás se quedan. Un --number nuevo debe
estar libre en el dispositivo y pasar las comprobaciones del cuadro del número; luego
todos los archivos de la canción (NUMBER y NUMBER.*) pasan al número nuevo, todos o
ninguno, y se reconstruye el catálogo. Si falla una comprobación o un paso, no cambia
nada en el dispositivo.
</translation>
    </message>
    <message>
        <source>copy many media files onto the device as user songs</source>
        <translation>copiar muchos archivos multimedia al dispositivo como canciones propias</translation>
    </message>
    <message>
        <source>the language of every song: OPM, EG or ES (default: language in the settings file)</source>
        <translation>el idioma de todas las canciones: OPM, EG o ES (por omisión: language del archivo de ajustes)</translation>
    </message>
    <message>
        <source>the artist of every song, instead of the one found</source>
        <translation>el artista de todas las canciones, en lugar del encontrado</translation>
    </message>
    <message>
        <source>print what would be added, and why files would be left out; copy nothing</source>
        <translation>mostrar lo que se añadiría y por qué se dejarían fuera archivos; no copiar nada</translation>
    </message>
    <message>
        <source>add songs whose title and artist are already there too</source>
        <translation>añadir también canciones cuyo título y artista ya están</translation>
    </message>
    <message>
        <source>Lists the songs of the device&apos;s list without a media file, the media files in
the song folders that no song of the list owns, the songs on which the list
and the database disagree (rebuild mends them), temporary files that
interrupted runs left (the next writing command removes them), records of
interrupted writes (the next writing command finishes them) and records that
could not be read and were set aside (*.bad: look at them, then remove them),
and user songs whose files the player will not play (their container, codecs or
picture size; the player profile can be changed in the settings file).
Exit 1 when there is any.
</source>
        <translation>Muestra las canciones de la lista del dispositivo que no tienen archivo multimedia,
los archivos multimedia de las carpetas de canciones que no son de ninguna canción
de la lista, las canciones en las que la lista y la base de datos no coinciden
(rebuild las arregla), los archivos temporales que dejaron ejecuciones
interrumpidas (la siguiente orden que escriba los quita), los registros de
escrituras interrumpidas (la siguiente orden que escriba las termina), los
registros que no se pudieron leer y se apartaron (*.bad: revíselos y luego
bórrelos) y las canciones propias cuyos archivos el reproductor no reproducirá
(por su contenedor, sus códecs o el tamaño de la imagen; el perfil del reproductor
se puede cambiar en el archivo de ajustes). Sale con 1 cuando hay alguno.
</translation>
    </message>
    <message>
        <source>convert files the player plays only after conversion into MP4 (H.264, AAC) first, with the ffmpeg program</source>
        <translation>convertir antes a MP4 (H.264, AAC) con el programa ffmpeg los archivos que el reproductor solo reproduce tras convertirlos</translation>
    </message>
    <message>
        <source>measure each song&apos;s loudness and set it to -16 LUFS (true peak -1.5 dBTP) unless it is within 1 LU already</source>
        <translation>medir el volumen de cada canción y llevarlo a -16 LUFS (pico real -1.5 dBTP), salvo si ya está a menos de 1 LU</translation>
    </message>
    <message>
        <source>Copies MEDIA onto the device as a user song and rebuilds the catalogue, then prints
the song&apos;s number alone on standard output (n=$(songloader-cli add ...) takes it).
Without --number the next free user number from 900000 is taken.
Without --language the song is filed under Other.
A file the player plays only after conversion is refused (exit 1) unless --convert is
given: it is then converted into MP4 (H.264, AAC) by the ffmpeg program on this computer
and stored as NUMBER.mp4. Ctrl-C while it converts ends the converter and adds nothing.
</source>
        <translation>Copia MEDIA al dispositivo como canción propia y reconstruye el catálogo; luego
escribe solo el número de la canción en la salida estándar (n=$(songloader-cli add ...)
lo recoge). Sin --number se toma el siguiente número propio libre desde 900000.
Sin --language la canción se archiva en Other.
Un archivo que el reproductor solo reproduce tras convertirlo se rechaza (sale con 1)
salvo con --convert: entonces el programa ffmpeg de este ordenador lo convierte a MP4
(H.264, AAC) y se guarda como NUMBER.mp4. Ctrl-C durante la conversión termina el
conversor y no añade nada.
</translation>
    </message>
    <message>
        <source>Copies every media file named by PATH (a file, or a folder walked with its sub-folders;
hidden files and folders and the device&apos;s own songs folder are left out) onto the device
as user songs and rebuilds the catalogue once. A first operand is taken as DEVICE only
when it is a folder holding songs/ or a mount point.
Each file is checked first: one the player cannot play, one whose title and artist are
already on the device or earlier in the batch, or one whose texts the device cannot store
is named on standard error and left out. Titles, artists, composers and lyricists come
from the files&apos; tags, else from names like &quot;01 - Artist - Title.mp4&quot;. Songs take the
lowest free numbers from 900000 in the order of their paths.
Prints one line per song added: number, title, artist and source file, tab-separated.
A folder that cannot be read, and a PATH inside the device&apos;s songs folder, are named
and left out. A file the player plays only after conversion (another container, codec or
a picture larger than 1920x1080) is named and left out unless --convert is given: it is
then converted on this computer into MP4 (H.264, AAC) by the ffmpeg program before it is
copied. --loudness sets every song to -16 LUFS, unless it is within 1 LU already.
Exit status: 0 when every file was added, 1 when any was left out, 2 on usage errors.
A batch that does not fit on the device (its files in whole blocks, with the new
catalogue) or would take the device past 49999 songs copies nothing. Ctrl-C stops after
the current file (a conversion running ends at once, leaving nothing); the songs copied
by then are catalogued.
</source>
        <translation>Copia al dispositivo como canciones propias todos los archivos multimedia que nombra
PATH (un archivo, o una carpeta recorrida con sus subcarpetas; se dejan fuera los
archivos y carpetas ocultos y la propia carpeta de canciones del dispositivo) y
reconstruye el catálogo una sola vez. Un primer operando se toma como DEVICE solo si
es una carpeta que contiene songs/ o un punto de montaje.
Antes se comprueba cada archivo: el que el reproductor no puede reproducir, el que
tiene un título y un artista que ya están en el dispositivo o antes en el lote, o el
que tiene textos que el dispositivo no puede guardar se nombra en la salida de errores
y se deja fuera. Títulos, artistas, compositores y letristas salen de las etiquetas de
los archivos o, si no, de nombres como &quot;01 - Artista - Título.mp4&quot;. Las canciones
toman los números libres más bajos desde 900000 en el orden de sus rutas.
Escribe una línea por canción añadida: número, título, artista y archivo de origen,
separados por tabuladores.
Una carpeta que no se puede leer y un PATH dentro de la carpeta de canciones del
dispositivo se nombran y se dejan fuera. Un archivo que el reproductor solo reproduce
tras convertirlo (otro contenedor, otro códec o una imagen mayor de 1920x1080) se
nombra y se deja fuera salvo con --convert: entonces el programa ffmpeg lo convierte
en este ordenador a MP4 (H.264, AAC) antes de copiarlo. --loudness lleva todas las
canciones a -16 LUFS, salvo si ya están a menos de 1 LU.
Estado de salida: 0 si se añadieron todos los archivos, 1 si se dejó fuera alguno,
2 si hay errores de uso.
Un lote que no cabe en el dispositivo (sus archivos en bloques enteros, con el catálogo
nuevo) o que llevaría el dispositivo a más de 49999 canciones no copia nada. Ctrl-C
se detiene tras el archivo en curso (una conversión en marcha termina enseguida sin
dejar nada); las canciones copiadas hasta entonces quedan catalogadas.
</translation>
    </message>
</context>
<context>
    <name>Core</name>
    <message>
        <source>Trallix Song Loader for Windows(for MKV,TS,VOB,DAT,AVI,MPG,MP4,FLV) V:%s</source>
        <translation>Trallix Song Loader para Linux (MKV, TS, VOB, DAT, AVI, MPG, MP4, FLV) V:%1</translation>
    </message>
    <message>
        <source>About  Trallix Song Loader for Windows(&amp;A)...</source>
        <translation>&amp;Acerca de Trallix Song Loader para Linux...</translation>
    </message>
    <message>
        <source>Trallix Song Loader for Windows</source>
        <translation>Trallix Song Loader para Linux</translation>
    </message>
    <message>
        <source>Trallix Song Loader V%s for Windows</source>
        <translation>Trallix Song Loader V%1 para Linux</translation>
    </message>
    <message>
        <source>by title or artist.</source>
        <translation>por título o artista.</translation>
    </message>
    <message>
        <source>选择目标文件夹</source>
        <translation>Elija la carpeta de destino</translation>
    </message>
    <message>
        <source>選擇目標文件夾</source>
        <translation>Elija la carpeta de destino</translation>
    </message>
    <message>
        <source>All Files (*.*)|*.*|MP3 Files (*.mp3)|*.mp3|MP4 Files (*.avi;*.dat;*.mp4)|*.avi;*.dat;*mp4||</source>
        <translation>Todos los archivos (*.*)|*.*|Archivos MP3 (*.mp3)|*.mp3|Archivos MP4 (*.avi;*.dat;*.mp4)|*.avi;*.dat;*mp4||</translation>
    </message>
    <message>
        <source>Please choose a language first.</source>
        <translation>Elija primero un idioma.</translation>
    </message>
    <message>
        <source>These files were not queued:</source>
        <translation>Estos archivos no se pusieron en la cola:</translation>
    </message>
    <message>
        <source>These files repeat songs already on the USB drive or in the list:</source>
        <translation>Estos archivos repiten canciones que ya están en la unidad USB o en la lista:</translation>
    </message>
    <message>
        <source>Queue them anyway?</source>
        <translation>¿Ponerlos en la cola de todos modos?</translation>
    </message>
    <message>
        <source>xls Files (*.xls)|*.xls||</source>
        <translation>Archivos xls (*.xls)|*.xls||</translation>
    </message>
    <message>
        <source> Number</source>
        <translation> Número</translation>
    </message>
    <message>
        <source>Lang</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>      Title</source>
        <translation>      Título</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Artista</translation>
    </message>
    <message>
        <source>Composer</source>
        <translation>Compositor</translation>
    </message>
    <message>
        <source>Lyricist</source>
        <translation>Letrista</translation>
    </message>
    <message>
        <source>Please insert device!!</source>
        <translation>¡¡Conecte el dispositivo!!</translation>
    </message>
    <message>
        <source>Please select file</source>
        <translation>Elija un archivo</translation>
    </message>
    <message>
        <source>File Path is Invaild</source>
        <translation>La ruta del archivo no es válida</translation>
    </message>
    <message>
        <source>Exit without adding any song?</source>
        <translation>¿Salir sin añadir ninguna canción?</translation>
    </message>
    <message>
        <source>The queued songs have not been added to the USB drive. Exit anyway?</source>
        <translation>Las canciones de la cola no se han añadido a la unidad USB. ¿Salir de todos modos?</translation>
    </message>
    <message>
        <source>Confirm song deletion?</source>
        <translation>¿Confirma que desea borrar la canción?</translation>
    </message>
    <message>
        <source>The song has been downloaded!</source>
        <translation>¡La canción ya está descargada!</translation>
    </message>
    <message>
        <source>Please select song!</source>
        <translation>¡Elija una canción!</translation>
    </message>
    <message>
        <source>Please download cloud data!!</source>
        <translation>¡¡Descargue primero los datos de la nube!!</translation>
    </message>
    <message>
        <source>Please download cloud data!</source>
        <translation>¡Descargue primero los datos de la nube!</translation>
    </message>
    <message>
        <source>check cloud database ok</source>
        <translation>base de datos de la nube comprobada</translation>
    </message>
    <message>
        <source>Please Select Disk</source>
        <translation>Elija un disco</translation>
    </message>
    <message>
        <source>%s songs</source>
        <translation>%1 canciones</translation>
    </message>
    <message>
        <source>1 song</source>
        <translation>1 canción</translation>
    </message>
    <message>
        <source>No songs found</source>
        <translation>No se encontraron canciones</translation>
    </message>
    <message>
        <source>%s on the USB drive, %s free</source>
        <translation>%1 en la unidad USB, %2 libres</translation>
    </message>
    <message>
        <source>%s is a device&apos;s songs folder; give the device itself: %s</source>
        <translation>%1 es la carpeta de canciones de un dispositivo; indique el propio dispositivo: %2</translation>
    </message>
    <message>
        <source>%s has no songs folder. Create one there and use this folder as the USB drive?</source>
        <translation>%1 no tiene carpeta de canciones. ¿Crear una allí y usar esta carpeta como unidad USB?</translation>
    </message>
    <message>
        <source>Delete %s %s?</source>
        <translation>¿Borrar %1 %2?</translation>
    </message>
    <message>
        <source>Download %s cloud songs (%s) to the USB drive? It has %s free.</source>
        <translation>¿Descargar %1 canciones de la nube (%2) a la unidad USB? Le quedan %3 libres.</translation>
    </message>
    <message>
        <source>The size of %s of them is not known.</source>
        <translation>No se conoce el tamaño de %1 de ellas.</translation>
    </message>
    <message>
        <source>These cloud songs repeat songs already on the USB drive:</source>
        <translation>Estas canciones de la nube repiten canciones que ya están en la unidad USB:</translation>
    </message>
    <message>
        <source>Add them anyway?</source>
        <translation>¿Añadirlas de todos modos?</translation>
    </message>
    <message>
        <source>%s queued songs were changed.</source>
        <translation>Se cambiaron %1 canciones de la cola.</translation>
    </message>
    <message>
        <source>Download Progress</source>
        <translation>Progreso de la descarga</translation>
    </message>
    <message>
        <source>Now Download:</source>
        <translation>Descargando: </translation>
    </message>
    <message>
        <source>These songs could not be copied to the device and stay in the list:</source>
        <translation>Estas canciones no se pudieron copiar al dispositivo y siguen en la lista:</translation>
    </message>
    <message>
        <source>These songs could not be downloaded and were not added:</source>
        <translation>Estas canciones no se pudieron descargar y no se añadieron:</translation>
    </message>
    <message>
        <source>These songs were added:</source>
        <translation>Se añadieron estas canciones:</translation>
    </message>
    <message>
        <source>The cloud catalogue could not be downloaded:</source>
        <translation>No se pudo descargar el catálogo de la nube:</translation>
    </message>
    <message>
        <source>These files of the MIDI pack could not be downloaded:</source>
        <translation>No se pudieron descargar estos archivos del paquete MIDI:</translation>
    </message>
    <message>
        <source>The device&apos;s song list could not be read; nothing was written.</source>
        <translation>No se pudo leer la lista de canciones del dispositivo; no se escribió nada.</translation>
    </message>
    <message>
        <source>The song&apos;s texts hold characters that the device&apos;s character set (%s) cannot store.</source>
        <translation>Los textos de la canción tienen caracteres que el juego de caracteres del dispositivo (%1) no puede guardar.</translation>
    </message>
    <message>
        <source>Eject USB Drive</source>
        <translation>Expulsar USB</translation>
    </message>
    <message>
        <source>USB drive found at %s: choose it with Auto-Check USB Drive.</source>
        <translation>Unidad USB encontrada en %1: elíjala con Detectar USB.</translation>
    </message>
    <message>
        <source>Another program changed the song list on the USB drive. It has been read again and nothing was written: check the list and try again.</source>
        <translation>Otro programa cambió la lista de canciones de la unidad USB. Se ha vuelto a leer y no se escribió nada: revise la lista e inténtelo de nuevo.</translation>
    </message>
    <message>
        <source>Songs were copied to the USB drive but its song list was not rebuilt yet; the drive was not ejected.</source>
        <translation>Se copiaron canciones a la unidad USB, pero su lista de canciones aún no se ha reconstruido; la unidad no se expulsó.</translation>
    </message>
    <message>
        <source>The USB drive cannot be ejected from this program.</source>
        <translation>La unidad USB no se puede expulsar desde este programa.</translation>
    </message>
    <message>
        <source> is not a video or audio file.</source>
        <translation> no es un archivo de vídeo ni de audio.</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>NOTE</source>
        <translation>AVISO</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>ERROR</translation>
    </message>
    <message>
        <source>Export Songlist OK!</source>
        <translation>¡Lista de canciones exportada!</translation>
    </message>
    <message>
        <source>Please save file</source>
        <translation>Guarde el archivo</translation>
    </message>
    <message>
        <source>Cannot create the export file.</source>
        <translation>No se puede crear el archivo de exportación.</translation>
    </message>
    <message>
        <source>have row error: Existence of a number of rows with inconsistency</source>
        <translation>error de fila: hay filas con un número incoherente</translation>
    </message>
    <message>
        <source>have row Error:There is extra space!</source>
        <translation>error de fila: ¡hay espacios de más!</translation>
    </message>
    <message>
        <source>have row Error:There could not distinguish characters!</source>
        <translation>error de fila: ¡hay caracteres que no se pueden reconocer!</translation>
    </message>
    <message>
        <source>行出现错误:歌号太长</source>
        <translation>error de fila: el número de canción es demasiado largo</translation>
    </message>
    <message>
        <source>have row error:Country ID is wrong!</source>
        <translation>error de fila: ¡el código de idioma no es correcto!</translation>
    </message>
    <message>
        <source>have row error!</source>
        <translation>¡error de fila!</translation>
    </message>
    <message>
        <source>have row error:Song name characters is wrong!</source>
        <translation>error de fila: ¡los caracteres del nombre de la canción no son correctos!</translation>
    </message>
    <message>
        <source>1 Read Temp File Error!</source>
        <translation>¡1 Error al leer el archivo temporal!</translation>
    </message>
    <message>
        <source>2 Read Temp File Error!</source>
        <translation>¡2 Error al leer el archivo temporal!</translation>
    </message>
    <message>
        <source>Temp File Analyse Error!</source>
        <translation>¡Error al analizar el archivo temporal!</translation>
    </message>
    <message>
        <source>Failure SgNumber Sort File Error Memory Failure!</source>
        <translation>¡Falta memoria para ordenar por número de canción!</translation>
    </message>
    <message>
        <source>Failure Sort File Error Memory Failure</source>
        <translation>Falta memoria para ordenar el archivo</translation>
    </message>
    <message>
        <source>Create SgList.Dat Fail!</source>
        <translation>¡No se pudo crear SgList.Dat!</translation>
    </message>
    <message>
        <source>not copied: the batch was stopped before it</source>
        <translation>no copiada: el lote se detuvo antes de ella</translation>
    </message>
    <message>
        <source>An interrupted change of the USB drive is not finished yet; nothing was added.</source>
        <translation>Un cambio interrumpido de la unidad USB aún no ha terminado; no se añadió nada.</translation>
    </message>
    <message>
        <source> is inside the device&apos;s songs folder; its songs are on the device already</source>
        <translation> está dentro de la carpeta de canciones del dispositivo; sus canciones ya están en el dispositivo</translation>
    </message>
    <message>
        <source>The first digit of song number must be 9</source>
        <translation>La primera cifra del número de canción debe ser 9</translation>
    </message>
    <message>
        <source>Song number must be 900000 to 999999!</source>
        <translation>¡El número de canción debe estar entre 900000 y 999999!</translation>
    </message>
    <message>
        <source>Please complete information</source>
        <translation>Complete los datos</translation>
    </message>
    <message>
        <source>Invaild directory!</source>
        <translation>¡La carpeta no es válida!</translation>
    </message>
    <message>
        <source>Song number?must?be?six?digit from 900000 to 999999!</source>
        <translation>¡El número de canción debe tener seis cifras, de 900000 a 999999!</translation>
    </message>
    <message>
        <source>Please enter song title</source>
        <translation>Escriba el título de la canción</translation>
    </message>
    <message>
        <source>Song number is duplicate</source>
        <translation>El número de canción está repetido</translation>
    </message>
    <message>
        <source>Song number is duplicate with existing file of device</source>
        <translation>El número de canción ya existe en el dispositivo</translation>
    </message>
    <message>
        <source>Added successfully</source>
        <translation>Añadidas correctamente</translation>
    </message>
    <message>
        <source>Revised successfully!</source>
        <translation>¡Modificada correctamente!</translation>
    </message>
    <message>
        <source>Song deleted successfully</source>
        <translation>Canción borrada correctamente</translation>
    </message>
    <message>
        <source>not added: the catalogue could not be written with it, so its copy was taken off the device again</source>
        <translation>no añadida: el catálogo no se pudo escribir con ella, así que su copia se quitó otra vez del dispositivo</translation>
    </message>
    <message>
        <source>%s is not a name a song&apos;s file can be stored under on the device</source>
        <translation>%1 no es un nombre con el que se pueda guardar el archivo de una canción en el dispositivo</translation>
    </message>
    <message>
        <source>The song&apos;s files are removed, but the catalogue still lists it; delete it again once the catalogue can be written.</source>
        <translation>Los archivos de la canción se han quitado, pero el catálogo aún la incluye; bórrela otra vez cuando se pueda escribir el catálogo.</translation>
    </message>
    <message>
        <source>The media file of song %s is not on the device; nothing was changed.</source>
        <translation>El archivo multimedia de la canción %1 no está en el dispositivo; no se cambió nada.</translation>
    </message>
    <message>
        <source>The media file could not be moved; nothing was changed.
%s</source>
        <translation>No se pudo mover el archivo multimedia; no se cambió nada.
%1</translation>
    </message>
    <message>
        <source>Please check network!!</source>
        <translation>¡¡Compruebe la red!!</translation>
    </message>
    <message>
        <source>No new songs available!</source>
        <translation>¡No hay canciones nuevas!</translation>
    </message>
    <message>
        <source>The device is busy with another song loader command.</source>
        <translation>El dispositivo está ocupado con otra orden de song loader.</translation>
    </message>
    <message>
        <source>The USB drive was removed or changed. Choose it again with Auto-Check USB Drive or Select USB Drive.</source>
        <translation>La unidad USB se quitó o cambió. Vuelva a elegirla con Detectar USB o Elegir USB.</translation>
    </message>
    <message>
        <source>The USB drive can now be removed safely.</source>
        <translation>Ya puede quitar la unidad USB con seguridad.</translation>
    </message>
    <message>
        <source> is not a song catalogue</source>
        <translation> no es un catálogo de canciones</translation>
    </message>
    <message>
        <source>OPM[Tagalog]</source>
        <translation>OPM[Tagalo]</translation>
    </message>
    <message>
        <source>EG[English]</source>
        <translation>EG[Inglés]</translation>
    </message>
    <message>
        <source>ES[Spanish]</source>
        <translation>ES[Español]</translation>
    </message>
    <message>
        <source>All Languages</source>
        <translation>Todos</translation>
    </message>
    <message>
        <source>Other </source>
        <translation>Otro </translation>
    </message>
    <message>
        <source>Songs added to the USB drive</source>
        <translation>Canciones añadidas a la unidad USB</translation>
    </message>
    <message>
        <source>No song was added to the USB drive</source>
        <translation>No se añadió ninguna canción a la unidad USB</translation>
    </message>
    <message>
        <source>Some songs were not added</source>
        <translation>Algunas canciones no se añadieron</translation>
    </message>
    <message>
        <source>Added 1 song: %s.</source>
        <translation>Se añadió 1 canción: %1.</translation>
    </message>
    <message>
        <source>Added %s songs: %s.</source>
        <translation>Se añadieron %1 canciones: %2.</translation>
    </message>
    <message>
        <source>Added %s songs: %s and %s more.</source>
        <translation>Se añadieron %1 canciones: %2 y %3 más.</translation>
    </message>
    <message>
        <source>Failed: %s</source>
        <translation>Falló: %1</translation>
    </message>
    <message>
        <source>Nothing was added.</source>
        <translation>No se añadió nada.</translation>
    </message>
    <message>
        <source>%s files must be converted first; this takes about %s minutes. Convert them?</source>
        <translation>Primero hay que convertir %1 archivos; tardará unos %2 minutos. ¿Convertirlos?</translation>
    </message>
    <message>
        <source>Converting %s of %s: %s% (all: %s%)</source>
        <translation>Convirtiendo %1 de %2: %3% (total: %4%)</translation>
    </message>
    <message>
        <source>, about %s left</source>
        <translation>, quedan unos %1</translation>
    </message>
    <message>
        <source>not converted: the batch was stopped</source>
        <translation>no convertido: el lote se detuvo</translation>
    </message>
    <message>
        <source>Converting songs needs the ffmpeg program, which was not found; install the package ffmpeg (sudo apt install ffmpeg).</source>
        <translation>Para convertir canciones hace falta el programa ffmpeg, que no se encontró; instale el paquete ffmpeg (sudo apt install ffmpeg).</translation>
    </message>
    <message>
        <source> cannot be read: no decoder knows its %s (damaged or unknown).</source>
        <translation> no se puede leer: ningún decodificador conoce su %1 (dañado o desconocido).</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Sí</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>WindowLayout</name>
    <message>
        <source>USB Drive</source>
        <translation>Unidad USB</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Número</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Título</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Artista</translation>
    </message>
    <message>
        <source>Composer</source>
        <translation>Compositor</translation>
    </message>
    <message>
        <source>Lyricist</source>
        <translation>Letrista</translation>
    </message>
    <message>
        <source>Media File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Cloud</source>
        <translation>Nube</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Buscar</translation>
    </message>
</context>
<context>
    <name>songloader::gui::BatchStop</name>
    <message>
        <source>Stop after this song</source>
        <translation>Parar tras esta canción</translation>
    </message>
    <message>
        <source>Stopping after this song</source>
        <translation>Parando tras esta canción</translation>
    </message>
</context>
<context>
    <name>songloader::gui::MainWindow</name>
    <message>
        <source>Number</source>
        <translation>Número</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Título</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Artista</translation>
    </message>
    <message>
        <source>Composer</source>
        <translation>Compositor</translation>
    </message>
    <message>
        <source>Lyricist</source>
        <translation>Letrista</translation>
    </message>
    <message>
        <source>Media File</source>
        <translation>Archivo multimedia</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>Search language</source>
        <translation>Idioma de búsqueda</translation>
    </message>
    <message>
        <source>Songs to add</source>
        <translation>Canciones para añadir</translation>
    </message>
    <message>
        <source>Songs on the USB drive</source>
        <translation>Canciones de la unidad USB</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>Songs found</source>
        <translation>Canciones encontradas</translation>
    </message>
    <message>
        <source>USB drive</source>
        <translation>Unidad USB</translation>
    </message>
    <message>
        <source>Updated after each search or change</source>
        <translation>Se actualiza tras cada búsqueda o cambio</translation>
    </message>
    <message>
        <source>Find the USB drive by itself and show its songs</source>
        <translation>Buscar la unidad USB automáticamente y mostrar sus canciones</translation>
    </message>
    <message>
        <source>Choose the USB drive (or a folder standing for one) yourself</source>
        <translation>Elegir usted mismo la unidad USB (o una carpeta que haga de unidad)</translation>
    </message>
    <message>
        <source>Make the USB drive safe to pull out</source>
        <translation>Preparar la unidad USB para quitarla con seguridad</translation>
    </message>
    <message>
        <source>Fill in the next free song number</source>
        <translation>Poner el siguiente número de canción libre</translation>
    </message>
    <message>
        <source>Pick a media file, or several to queue at once (Ctrl+O)</source>
        <translation>Elegir un archivo multimedia, o varios para ponerlos en la cola a la vez (Ctrl+O)</translation>
    </message>
    <message>
        <source>Put the song in the form on the list of songs to add</source>
        <translation>Poner la canción del formulario en la lista de canciones para añadir</translation>
    </message>
    <message>
        <source>Empty the form</source>
        <translation>Vaciar el formulario</translation>
    </message>
    <message>
        <source>Store the form&apos;s changes in the song loaded, or set the language and artist of the queued songs selected</source>
        <translation>Guardar los cambios del formulario en la canción cargada, o poner el idioma y el artista de las canciones de la cola seleccionadas</translation>
    </message>
    <message>
        <source>Copy the queued songs, or download the ticked cloud songs, onto the USB drive</source>
        <translation>Copiar las canciones de la cola, o descargar las canciones de la nube marcadas, a la unidad USB</translation>
    </message>
    <message>
        <source>Download the cloud&apos;s song list and show it</source>
        <translation>Descargar la lista de canciones de la nube y mostrarla</translation>
    </message>
    <message>
        <source>Bring the USB drive&apos;s MIDI pack up to date from the cloud</source>
        <translation>Actualizar desde la nube el paquete MIDI de la unidad USB</translation>
    </message>
    <message>
        <source>Tick or untick every cloud song shown</source>
        <translation>Marcar o desmarcar todas las canciones de la nube mostradas</translation>
    </message>
    <message>
        <source>See the USB drive&apos;s song list as it would print</source>
        <translation>Ver la lista de canciones de la unidad USB tal como se imprimiría</translation>
    </message>
    <message>
        <source>Print the USB drive&apos;s song list</source>
        <translation>Imprimir la lista de canciones de la unidad USB</translation>
    </message>
    <message>
        <source>Save the USB drive&apos;s song list as a file</source>
        <translation>Guardar la lista de canciones de la unidad USB en un archivo</translation>
    </message>
    <message>
        <source>Find songs by the start of their title or artist (Ctrl+F; Escape clears)</source>
        <translation>Buscar canciones por el comienzo del título o del artista (Ctrl+F; Escape borra)</translation>
    </message>
    <message>
        <source>MIN</source>
        <translation>MINIMIZAR</translation>
    </message>
    <message>
        <source>HELP</source>
        <translation>AYUDA</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>The help pages were not found beside the program (help/index.html) or in share/songloader/help/.</source>
        <translation>No se encontraron las páginas de ayuda junto al programa (help/index.html) ni en share/songloader/help/.</translation>
    </message>
    <message>
        <source>No web browser could be started to show the help.

The help is in %1; open it in a browser.</source>
        <translation>No se pudo abrir ningún navegador web para mostrar la ayuda.

La ayuda está en %1; ábrala en un navegador.</translation>
    </message>
    <message>
        <source>Even Loudness</source>
        <translation>Volumen uniforme</translation>
    </message>
    <message>
        <source>Set every song added from now on to the same loudness (-16 LUFS)</source>
        <translation>Poner todas las canciones que se añadan desde ahora al mismo volumen (-16 LUFS)</translation>
    </message>
</context>
<context>
    <name>songloader::gui::PrintJob</name>
    <message>
        <source>The song list could not be printed.</source>
        <translation>No se pudo imprimir la lista de canciones.</translation>
    </message>
</context>
<context>
    <name>songloader::gui::PrintPreviewWindow</name>
    <message>
        <source>Dudir Udade Preview</source>
        <translation>Vista previa de impresión</translation>
    </message>
    <message>
        <source>One Page</source>
        <translation>Una página</translation>
    </message>
    <message>
        <source>Two Page</source>
        <translation>Dos páginas</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vista previa</translation>
    </message>
    <message>
        <source>my(&amp;P)...</source>
        <translation>Im&amp;primir...</translation>
    </message>
    <message>
        <source>my PageDown(&amp;N)</source>
        <translation>Página &amp;siguiente</translation>
    </message>
    <message>
        <source>PageUp(&amp;V)</source>
        <translation>Página &amp;anterior</translation>
    </message>
    <message>
        <source>Zoom Out(&amp;I)</source>
        <translation>&amp;Reducir</translation>
    </message>
    <message>
        <source>Zoom In(&amp;O)</source>
        <translation>&amp;Ampliar</translation>
    </message>
    <message>
        <source>Close(&amp;C)</source>
        <translation>&amp;Cerrar</translation>
    </message>
</context>
<context>
    <name>songloader::gui::ProgressWindow</name>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Song %1 of %2</source>
        <translation>Canción %1 de %2</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 de %2</translation>
    </message>
    <message numerus="yes">
        <source>about %n min left</source>
        <translation>
            <numerusform>queda %n min aprox.</numerusform>
            <numerusform>quedan %n min aprox.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>about %n s left</source>
        <translation>
            <numerusform>queda %n s aprox.</numerusform>
            <numerusform>quedan %n s aprox.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>songloader::gui::SongListModel</name>
    <message>
        <source>Already on the USB drive</source>
        <translation>Ya está en la unidad USB</translation>
    </message>
</context>
</TS>
