<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CustomPropsEditDlg</name>
    <message>
        <source>Custom properties</source>
        <translation>Дополнительные свойства</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Имя</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Значение</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Описание</translation>
    </message>
    <message>
        <source>Insert adds a property and Delete removes the rows of the selected cells, as the context menu (the Menu key) does; double-click a cell or press F2 to edit it.</source>
        <translation>Insert добавляет свойство, Delete удаляет строки выделенных ячеек, как и контекстное меню (клавиша Menu); двойной щелчок или F2 открывает ячейку для правки.</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Свойства</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>A property without a name will not be stored.</source>
        <translation>Свойство без имени не будет сохранено.</translation>
    </message>
</context>
<context>
    <name>EditorPlugin</name>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Invalid light object</source>
        <translation>Недопустимый объект светофора</translation>
    </message>
    <message>
        <source>Project not created</source>
        <translation>Проект не создан</translation>
    </message>
    <message>
        <source>Invalid scene object</source>
        <translation>Недопустимый объект сцены</translation>
    </message>
    <message>
        <source>Cannot connect to osmView</source>
        <translation>Не удаётся подключиться к карте</translation>
    </message>
</context>
<context>
    <name>EventsMaskDialog</name>
    <message>
        <source>Events mask editor</source>
        <translation>Редактор маски событий</translation>
    </message>
    <message>
        <source>Clear all</source>
        <translation>Снять все</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Выбрать все</translation>
    </message>
    <message>
        <source>Invert All</source>
        <translation>Инвертировать</translation>
    </message>
</context>
<context>
    <name>FilterWidget</name>
    <message>
        <source>Console output filter</source>
        <translation>Фильтр вывода консоли</translation>
    </message>
    <message>
        <source>Requests</source>
        <translation>Запросы</translation>
    </message>
    <message>
        <source>Custom filter:</source>
        <translation>Свой фильтр:</translation>
    </message>
    <message>
        <source>Custom request filter</source>
        <translation>Свой фильтр запросов</translation>
    </message>
    <message>
        <source>Custom answer filter</source>
        <translation>Свой фильтр ответов</translation>
    </message>
    <message>
        <source>Custom notification filter</source>
        <translation>Свой фильтр уведомлений</translation>
    </message>
    <message>
        <source>Answers</source>
        <translation>Ответы</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Уведомления</translation>
    </message>
    <message>
        <source>Clear all</source>
        <translation>Снять все</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Выбрать все</translation>
    </message>
    <message>
        <source>Invert All</source>
        <translation>Инвертировать</translation>
    </message>
</context>
<context>
    <name>ObjectPropertiesDlg</name>
    <message>
        <source>Object properties</source>
        <translation>Свойства объекта</translation>
    </message>
    <message>
        <source>Identifier:</source>
        <translation>Идентификатор:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Тип:</translation>
    </message>
    <message>
        <source>Арвел V3.18</source>
        <translation>Арвел V3.18</translation>
    </message>
    <message>
        <source>Шлюз-Вектор</source>
        <translation>Шлюз-Вектор</translation>
    </message>
    <message>
        <source>LT_COG</source>
        <translation>LT_COG</translation>
    </message>
    <message>
        <source>Arvel2</source>
        <translation>Arvel2</translation>
    </message>
    <message>
        <source>ПТК</source>
        <translation>ПТК</translation>
    </message>
    <message>
        <source>import from folder</source>
        <translation>импорт из папки</translation>
    </message>
    <message>
        <source>from controller</source>
        <translation>из контроллера</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>Описание:</translation>
    </message>
    <message>
        <source>Position:</source>
        <translation>Положение:</translation>
    </message>
    <message>
        <source>select</source>
        <translation>выбрать</translation>
    </message>
    <message>
        <source>Click the place on the map, or move the map with the arrow keys and press Enter to take its centre; Escape cancels.</source>
        <translation>Щёлкните место на карте или сдвиньте карту клавишами со стрелками и нажмите Enter, чтобы взять её центр; Escape отменяет выбор.</translation>
    </message>
    <message>
        <source>Select the position on the map</source>
        <translation>Выбрать положение на карте</translation>
    </message>
    <message>
        <source>Schema file:</source>
        <translation>Файл схемы:</translation>
    </message>
    <message>
        <source>Select schema file</source>
        <translation>Выбрать файл схемы</translation>
    </message>
    <message>
        <source>RCU control</source>
        <translation>Управление RCU</translation>
    </message>
    <message>
        <source>Change events mask</source>
        <translation>Маска событий</translation>
    </message>
    <message>
        <source>Additional properties ...</source>
        <translation>Дополнительные свойства ...</translation>
    </message>
    <message>
        <source>Phases</source>
        <translation>Фазы</translation>
    </message>
    <message>
        <source>id</source>
        <translation>номер</translation>
    </message>
    <message>
        <source>description</source>
        <translation>описание</translation>
    </message>
    <message>
        <source>schema</source>
        <translation>схема</translation>
    </message>
    <message>
        <source>add</source>
        <translation>добавить</translation>
    </message>
    <message>
        <source>remove</source>
        <translation>удалить</translation>
    </message>
    <message>
        <source>Press Enter or click &quot;preview&quot; to preview the phase of the current row; double-click a cell or press F2 to edit it. Insert adds a row, Delete removes the rows of the selected cells.</source>
        <translation>Enter или кнопка «просмотр» показывает фазу текущей строки; двойной щелчок или F2 открывает ячейку для правки. Insert добавляет строку, Delete удаляет строки выделенных ячеек.</translation>
    </message>
    <message>
        <source>preview</source>
        <translation>просмотр</translation>
    </message>
    <message>
        <source>Programs</source>
        <translation>Программы</translation>
    </message>
    <message>
        <source>Double-click a cell or press F2 to edit it. Insert adds a row, Delete removes the rows of the selected cells.</source>
        <translation>Двойной щелчок или F2 открывает ячейку для правки. Insert добавляет строку, Delete удаляет строки выделенных ячеек.</translation>
    </message>
    <message>
        <source>exchange with controller</source>
        <translation>обмен с контроллером</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>отмена</translation>
    </message>
    <message>
        <source>Select schema</source>
        <translation>Выбрать схему</translation>
    </message>
    <message>
        <source>Object id=%1 - invalid</source>
        <translation>Объект id=%1 - недопустимый номер</translation>
    </message>
    <message>
        <source>Object with id=%1 already exist</source>
        <translation>Объект с id=%1 уже существует</translation>
    </message>
    <message>
        <source>Error creating phase</source>
        <translation>Error creating phase</translation>
    </message>
    <message>
        <source>Error creating program</source>
        <translation>Error creating program</translation>
    </message>
    <message>
        <source>Invalid propery %s value</source>
        <translation>Invalid propery %s value</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Select schema file for the Object</source>
        <translation>Выбор файла схемы объекта</translation>
    </message>
    <message>
        <source>Supported formats (*.wmf *.emf *.svg);;All files (*.*)</source>
        <translation>Поддерживаемые форматы (*.wmf *.emf *.svg);;Все файлы (*.*)</translation>
    </message>
    <message>
        <source>Select folder to import</source>
        <translation>Выбор папки для импорта</translation>
    </message>
    <message>
        <source>Phase %1</source>
        <translation>Фаза %1</translation>
    </message>
    <message>
        <source>Program %1</source>
        <translation>Программа %1</translation>
    </message>
    <message>
        <source>Expected longitude;latitude, for example 37.6175;55.7539.
The position will stay as it is.</source>
        <translation>Ожидается долгота;широта, например 37.6175;55.7539.
Положение останется прежним.</translation>
    </message>
    <message>
        <source>Reading from controller</source>
        <translation>Чтение из контроллера</translation>
    </message>
</context>
<context>
    <name>OsmViewPropertiesDlg</name>
    <message>
        <source>Map propeties</source>
        <translation>Свойства карты</translation>
    </message>
    <message>
        <source>Minimum zoom:</source>
        <translation>Минимальный масштаб:</translation>
    </message>
    <message>
        <source>Maximum zoom:</source>
        <translation>Максимальный масштаб:</translation>
    </message>
    <message>
        <source>Maps</source>
        <translation>Карты</translation>
    </message>
    <message>
        <source>Double-click a cell or press F2 to edit it. Insert adds a map, Delete removes the rows of the selected cells.</source>
        <translation>Двойной щелчок или F2 открывает ячейку для правки. Insert добавляет карту, Delete удаляет строки выделенных ячеек.</translation>
    </message>
    <message>
        <source>name</source>
        <translation>название</translation>
    </message>
    <message>
        <source>database file</source>
        <translation>файл базы</translation>
    </message>
    <message>
        <source>tile server template</source>
        <translation>шаблон сервера тайлов</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Expected a name to list the map source by.
The source will be stored without a name.</source>
        <translation>Ожидается название, под которым источник карты будет в списке.
Источник будет сохранён без названия.</translation>
    </message>
    <message>
        <source>Expected an http or https address with {z}, {x} and {y}, for example https://tiles.example.com/{z}/{x}/{y}.png.
The template will be stored as it is, but no tile can be asked from it.</source>
        <translation>Ожидается адрес http или https с {z}, {x} и {y}, например https://tiles.example.com/{z}/{x}/{y}.png.
Шаблон будет сохранён как есть, но запросить по нему тайлы будет нельзя.</translation>
    </message>
</context>
<context>
    <name>PresetsEditDlg</name>
    <message>
        <source>Presets editor</source>
        <translation>Редактор предустановок</translation>
    </message>
    <message>
        <source>name</source>
        <translation>название</translation>
    </message>
    <message>
        <source>tooltip</source>
        <translation>подсказка</translation>
    </message>
    <message>
        <source>zoom</source>
        <translation>масштаб</translation>
    </message>
    <message>
        <source>center</source>
        <translation>центр</translation>
    </message>
    <message>
        <source>Double-click a cell or press F2 to edit it. Insert adds a custom preset, Delete removes the rows of the selected cells.</source>
        <translation>Двойной щелчок или F2 открывает ячейку для правки. Insert добавляет свою предустановку, Delete удаляет строки выделенных ячеек.</translation>
    </message>
    <message>
        <source>Presets</source>
        <translation>Предустановки</translation>
    </message>
    <message>
        <source>Add current</source>
        <translation>Добавить текущий</translation>
    </message>
    <message>
        <source>Add custom</source>
        <translation>Добавить свой</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Default preset:</source>
        <translation>По умолчанию:</translation>
    </message>
    <message>
        <source>Preset</source>
        <translation>Предустановка</translation>
    </message>
    <message>
        <source>Expected longitude;latitude, for example 37.6175;55.7539.
The preset will not be stored.</source>
        <translation>Ожидается долгота;широта, например 37.6175;55.7539.
Предустановка не будет сохранена.</translation>
    </message>
</context>
<context>
    <name>ProjectPropertiesDlg</name>
    <message>
        <source>Project properies</source>
        <translation>Свойства проекта</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Название:</translation>
    </message>
    <message>
        <source>Server url:</source>
        <translation>Адрес сервера:</translation>
    </message>
    <message>
        <source>Project file:</source>
        <translation>Файл проекта:</translation>
    </message>
    <message>
        <source>Console output filter:</source>
        <translation>Фильтр вывода консоли:</translation>
    </message>
    <message>
        <source>The project has no controller connection.
The address will not be stored.</source>
        <translation>У проекта нет соединения с контроллерами.
Адрес не будет сохранён.</translation>
    </message>
    <message>
        <source>Expected a host and a port, for example //10.0.0.5:4000.
The address will stay as it is.</source>
        <translation>Ожидаются узел и порт, например //10.0.0.5:4000.
Адрес останется прежним.</translation>
    </message>
</context>
<context>
    <name>SettingsEditDlg</name>
    <message>
        <source>Settings editor</source>
        <translation>Редактор настроек</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Фильтр</translation>
    </message>
    <message>
        <source>Filter by section, key or value</source>
        <translation>Фильтр по разделу, ключу или значению</translation>
    </message>
    <message>
        <source>File name:</source>
        <translation>Имя файла:</translation>
    </message>
    <message>
        <source>Section</source>
        <translation>Раздел</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Ключ</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Значение</translation>
    </message>
    <message>
        <source>Add section</source>
        <translation>Добавить раздел</translation>
    </message>
    <message>
        <source>Add subsection</source>
        <translation>Добавить подраздел</translation>
    </message>
    <message>
        <source>Add item</source>
        <translation>Добавить элемент</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>key</source>
        <translation>ключ</translation>
    </message>
    <message>
        <source>value</source>
        <translation>значение</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>The file %1 was not saved because it could not be read cleanly.</source>
        <translation>Файл %1 не сохранён, так как его не удалось прочитать без ошибок.</translation>
    </message>
    <message>
        <source>The file %1 could not be saved: %2</source>
        <translation>Не удалось сохранить файл %1: %2</translation>
    </message>
    <message>
        <source>This file cannot be saved: the section header on line %1 does not close on its line.</source>
        <translation>Этот файл нельзя сохранить: заголовок раздела в строке %1 не закрыт в пределах строки.</translation>
    </message>
    <message>
        <source>This file cannot be saved: the value on line %1 claims more memory than there is.</source>
        <translation>Этот файл нельзя сохранить: значение в строке %1 требует больше памяти, чем есть.</translation>
    </message>
    <message>
        <source>This file cannot be saved: line %1 nests sections deeper than %2.</source>
        <translation>Этот файл нельзя сохранить: в строке %1 разделы вложены глубже допустимого (уровней вложенности больше %2).</translation>
    </message>
    <message>
        <source>This file cannot be saved: it could not be read cleanly.</source>
        <translation>Этот файл нельзя сохранить: его не удалось прочитать без ошибок.</translation>
    </message>
</context>
<context>
    <name>SettingsTree</name>
    <message>
        <source>No temporary folder: %1</source>
        <translation>Нет временной папки: %1</translation>
    </message>
    <message>
        <source>The new contents could not be prepared.</source>
        <translation>Не удалось подготовить новое содержимое.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be created.</source>
        <translation>Не удаётся создать папку %1.</translation>
    </message>
    <message>
        <source>The file is locked by another program.</source>
        <translation>Файл заблокирован другой программой.</translation>
    </message>
    <message>
        <source>The lock file %1 cannot be created.</source>
        <translation>Не удаётся создать файл блокировки %1.</translation>
    </message>
    <message>
        <source>The value of %1 holds characters beyond U+FFFF (such as emoji), which the settings file cannot store.</source>
        <translation>Значение %1 содержит символы за пределами U+FFFF (например, эмодзи), которые файл настроек сохранить не может.</translation>
    </message>
    <message>
        <source>The file changed on disk after it was opened; open it again to edit what it holds now.</source>
        <translation>Файл изменился на диске после открытия; откройте его снова, чтобы править то, что в нём теперь.</translation>
    </message>
    <message>
        <source>Only part of it was written.</source>
        <translation>Записана лишь часть.</translation>
    </message>
    <message>
        <source>Only a rewrite of the whole file could save the edit, and it would change lines that were not edited, such as line %1.</source>
        <translation>Сохранить правку можно было бы только перезаписью всего файла, а она изменила бы строки, которые не правились, например строку %1.</translation>
    </message>
    <message>
        <source>The new contents could not be written to the temporary folder %1: %2</source>
        <translation>Не удалось записать новое содержимое во временную папку %1: %2</translation>
    </message>
</context>
</TS>
